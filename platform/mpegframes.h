// The frames of an MPEG audio file (MP3 and its layer I and II kin), read
// from the frame headers: how many there are and how long one lasts.
#pragma once

#include <QString>
#include <QtGlobal>

namespace zol {

struct MpegAudioInfo {
    qint64 frames = 0;        // 0: not MPEG audio
    float msPerFrame = 0;     // milliseconds one frame lasts
    bool isMpeg() const { return frames > 0; }
};

// Walks the frame headers of bytes, after any ID3v2 tags at the start, until
// the data stops being frames (an ID3v1 tag, the end). The first frame must
// be followed by a second of the same kind, or by the end of the data, so
// that stray bytes that look like a header are not taken for audio.
MpegAudioInfo scanMpegAudio(const uchar* bytes, qint64 size);

// The same for a file; readable is set false when it cannot be read.
MpegAudioInfo scanMpegAudioFile(const QString& path, bool* readable = nullptr);

} // namespace zol
