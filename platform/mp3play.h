// The MP3 player of the main window's panel: open, play, pause, stop and
// seek by frame, with the frame count and the milliseconds per frame read
// from the file's frame headers, and a report of each frame reached.
//
// The sound comes from a media engine (platform/media.h), made at the first
// open, so that the panel costs nothing until it is used.
#pragma once

#include "platform/media.h"
#include "platform/mpegframes.h"

#include <QObject>
#include <memory>

namespace zol {

class Mp3Play : public QObject {
    Q_OBJECT
public:
    // Results of the commands, shown by the panel as they come.
    enum Result { Done = 0, NothingOpen = 1, CannotRead = 2, NotMpegAudio = 3 };

    explicit Mp3Play(QObject* parent = nullptr);
    ~Mp3Play() override;

    // Opens a file; the second argument is not used. What was open before
    // stays open when the file cannot be read or is not MPEG audio.
    int open(const QString& path, const QString& unused = QString());
    int play();
    int pause();
    int stop();
    // Goes to frame from; to is not used. Going to the frame just reported
    // does nothing, so that a position bar that follows the reports does not
    // pull the player back.
    void seek(qint64 from, qint64 to);

    qint64 frameCount() const { return info_.frames; }
    float msPerFrame() const { return info_.msPerFrame; }
    QString fileName() const { return file_; }

signals:
    // The frame just reached.
    void progress(qint64 frame);
    void playEnded();

private:
    void positionReached(qint64 ms);

    std::unique_ptr<MediaEngine> engine_;
    MpegAudioInfo info_;
    QString file_;
    qint64 lastFrame_ = -1;
};

// The panel's texts: "120 of 4518", and the elapsed time "3 sec" (the frame's
// time rounded to whole milliseconds, halves to the even neighbour, then
// whole seconds with the rest dropped).
QString mp3FramesText(qint64 frame, qint64 frames);
QString mp3SecondsText(float msPerFrame, qint64 frame);

} // namespace zol
