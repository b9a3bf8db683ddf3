#include "platform/mediaplayercontrol.h"

#include <QEvent>
#include <QKeyEvent>
#include <QPalette>
#include <cmath>

namespace zol {

MediaPlayerControl::MediaPlayerControl(QWidget* parent) : QWidget(parent)
{
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::black);
    setPalette(p);
}

MediaPlayerControl::~MediaPlayerControl() = default;

void MediaPlayerControl::setFileName(const QString& fileOrAddress)
{
    fileName_ = fileOrAddress;
    if (!engine_) {
        if (fileOrAddress.isEmpty())
            return;
        engine_ = media().newEngine(this);
        setVolume(volume_);
        if (QWidget* video = engine_->videoWidget()) {
            video->installEventFilter(this);
            layoutVideo();
            video->show();
        }
    }
    engine_->setSource(fileOrAddress);
    if (!fileOrAddress.isEmpty())
        engine_->play();
}

void MediaPlayerControl::setDisplaySize(int size)
{
    displaySize_ = size;
    layoutVideo();
}

void MediaPlayerControl::setVolume(int volume)
{
    volume_ = volume;
    if (engine_)
        engine_->setVolume(volume <= -10000 ? 0.0f : float(std::pow(10.0, volume / 2000.0)));
}

void MediaPlayerControl::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    layoutVideo();
}

void MediaPlayerControl::layoutVideo()
{
    QWidget* video = engine_ ? engine_->videoWidget() : nullptr;
    if (!video)
        return;
    if (displaySize_ == mpFullScreen) {
        video->setWindowFlags(Qt::Window);
        video->showFullScreen();
        return;
    }
    if (video->isWindow()) {
        video->setWindowFlags(Qt::Widget);
        video->setParent(this);
        video->show();
    }
    if (displaySize_ == mpHalfSize) {
        const QSize half = size() / 2;
        video->setGeometry(QRect(QPoint((width() - half.width()) / 2, (height() - half.height()) / 2),
                                 half));
    } else {
        video->setGeometry(rect());
    }
}

// The whole screen is left with Esc or a double click, back to the whole
// control.
bool MediaPlayerControl::eventFilter(QObject* watched, QEvent* event)
{
    QWidget* video = engine_ ? engine_->videoWidget() : nullptr;
    if (watched == video && displaySize_ == mpFullScreen
        && (event->type() == QEvent::MouseButtonDblClick
            || (event->type() == QEvent::KeyPress
                && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape))) {
        setDisplaySize(mpFitToSize);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace zol
