#include "platform/mpegframes.h"

#include <QFile>

namespace zol {

namespace {

struct FrameHeader {
    int version = 0;     // 3 MPEG-1, 2 MPEG-2, 0 MPEG-2.5
    int layer = 0;       // 1, 2 or 3
    int sampleRate = 0;  // Hz
    int samples = 0;     // samples a frame holds
    qint64 length = 0;   // bytes, header included
};

// Bit rates in kbit/s by table row and the header's index; index 0 (free
// format) and 15 are not usable.
const int kBitRates[5][15] = {
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},  // MPEG-1 layer I
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},     // MPEG-1 layer II
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},      // MPEG-1 layer III
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},     // MPEG-2/2.5 layer I
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},          // MPEG-2/2.5 layer II, III
};
const int kSampleRates[4][3] = {
    {11025, 12000, 8000},   // MPEG-2.5
    {0, 0, 0},              // reserved
    {22050, 24000, 16000},  // MPEG-2
    {44100, 48000, 32000},  // MPEG-1
};

bool readHeader(const uchar* p, FrameHeader* h)
{
    if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0)
        return false;
    const int version = (p[1] >> 3) & 3;
    const int layerBits = (p[1] >> 1) & 3;
    const int rateIndex = p[2] >> 4;
    const int srIndex = (p[2] >> 2) & 3;
    if (version == 1 || layerBits == 0 || rateIndex == 0 || rateIndex == 15 || srIndex == 3)
        return false;
    h->version = version;
    h->layer = 4 - layerBits;
    h->sampleRate = kSampleRates[version][srIndex];
    const int row = version == 3 ? h->layer - 1 : (h->layer == 1 ? 3 : 4);
    const qint64 bitRate = qint64(kBitRates[row][rateIndex]) * 1000;
    const int padding = (p[2] >> 1) & 1;
    if (h->layer == 1) {
        h->samples = 384;
        h->length = (12 * bitRate / h->sampleRate + padding) * 4;
    } else {
        h->samples = (h->layer == 3 && version != 3) ? 576 : 1152;
        h->length = h->samples / 8 * bitRate / h->sampleRate + padding;
    }
    return true;
}

bool sameKind(const FrameHeader& a, const FrameHeader& b)
{
    return a.version == b.version && a.layer == b.layer && a.sampleRate == b.sampleRate;
}

// Bytes taken by the ID3v2 tags at the start: "ID3", version, flags and a
// size in four 7-bit bytes, and a footer of 10 more bytes when flagged.
qint64 id3v2Length(const uchar* p, qint64 size)
{
    qint64 at = 0;
    while (at + 10 <= size && p[at] == 'I' && p[at + 1] == 'D' && p[at + 2] == '3') {
        const uchar* s = p + at + 6;
        if ((s[0] | s[1] | s[2] | s[3]) & 0x80)
            break;
        const qint64 body = (qint64(s[0]) << 21) | (s[1] << 14) | (s[2] << 7) | s[3];
        at += 10 + body + ((p[at + 5] & 0x10) ? 10 : 0);
    }
    return at;
}

// How far into the data the first frame is looked for.
constexpr qint64 kSearch = 64 * 1024;

} // namespace

MpegAudioInfo scanMpegAudio(const uchar* bytes, qint64 size)
{
    MpegAudioInfo info;
    qint64 at = id3v2Length(bytes, size);
    FrameHeader first;
    const qint64 searchEnd = qMin(size, at + kSearch);
    for (; at + 4 <= searchEnd; ++at) {
        if (!readHeader(bytes + at, &first))
            continue;
        const qint64 next = at + first.length;
        FrameHeader second;
        if (next == size || (next + 4 <= size && readHeader(bytes + next, &second)
                             && sameKind(first, second)))
            break;
    }
    if (at + 4 > searchEnd)
        return info;

    FrameHeader h;
    while (at + 4 <= size && readHeader(bytes + at, &h) && sameKind(first, h)
           && at + h.length <= size) {
        ++info.frames;
        at += h.length;
    }
    info.msPerFrame = float(first.samples * 1000.0 / first.sampleRate);
    return info;
}

MpegAudioInfo scanMpegAudioFile(const QString& path, bool* readable)
{
    QFile f(path);
    const bool ok = f.open(QIODevice::ReadOnly);
    if (readable)
        *readable = ok;
    if (!ok || f.size() == 0)
        return {};
    // Mapped, not read: an hour of music is some 60 MB.
    if (const uchar* p = f.map(0, f.size()))
        return scanMpegAudio(p, f.size());
    const QByteArray all = f.readAll();
    return scanMpegAudio(reinterpret_cast<const uchar*>(all.constData()), all.size());
}

} // namespace zol
