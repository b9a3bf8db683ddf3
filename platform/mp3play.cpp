#include "platform/mp3play.h"

#include <QFileInfo>
#include <cmath>

namespace zol {

Mp3Play::Mp3Play(QObject* parent) : QObject(parent) {}

Mp3Play::~Mp3Play() = default;

int Mp3Play::open(const QString& path, const QString&)
{
    bool readable = false;
    const MpegAudioInfo info = scanMpegAudioFile(path, &readable);
    if (!readable)
        return CannotRead;
    if (!info.isMpeg())
        return NotMpegAudio;
    if (!engine_) {
        engine_ = media().newEngine(nullptr);
        engine_->positionChanged = [this](qint64 ms) { positionReached(ms); };
        engine_->ended = [this] { emit playEnded(); };
    }
    engine_->stop();
    info_ = info;
    file_ = QFileInfo(path).absoluteFilePath();
    lastFrame_ = -1;
    engine_->setSource(file_);
    return Done;
}

int Mp3Play::play()
{
    if (file_.isEmpty())
        return NothingOpen;
    engine_->play();
    return Done;
}

int Mp3Play::pause()
{
    if (file_.isEmpty())
        return NothingOpen;
    engine_->pause();
    return Done;
}

int Mp3Play::stop()
{
    if (file_.isEmpty())
        return NothingOpen;
    engine_->stop();
    return Done;
}

void Mp3Play::seek(qint64 from, qint64)
{
    if (file_.isEmpty() || from == lastFrame_ || from < 0)
        return;
    lastFrame_ = from;
    engine_->setPosition(qint64(std::llround(from * double(info_.msPerFrame))));
}

void Mp3Play::positionReached(qint64 ms)
{
    if (info_.msPerFrame <= 0)
        return;
    const qint64 frame = qint64(ms / double(info_.msPerFrame));
    if (frame == lastFrame_)
        return;
    lastFrame_ = frame;
    emit progress(frame);
}

QString mp3FramesText(qint64 frame, qint64 frames)
{
    return QString::number(frame) + QStringLiteral(" of ") + QString::number(frames);
}

QString mp3SecondsText(float msPerFrame, qint64 frame)
{
    // rint rounds halves to the even neighbour in the default rounding mode.
    const qint64 ms = qint64(std::rint(double(msPerFrame) * double(frame)));
    return QString::number(ms / 1000) + QStringLiteral(" sec");
}

} // namespace zol
