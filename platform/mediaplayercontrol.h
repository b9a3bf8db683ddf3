// The media-player control of the video window: what plays is set by its
// file name alone, a file path or a stream address (an ".asx" channel
// playlist plays its first stream); the display size and the volume are its
// other two settings.
#pragma once

#include "platform/media.h"

#include <QWidget>
#include <memory>

namespace zol {

class MediaPlayerControl : public QWidget {
    Q_OBJECT
public:
    // Display sizes: half the control, the whole screen, the whole control.
    enum DisplaySizes { mpHalfSize = 1, mpFullScreen = 3, mpFitToSize = 4 };

    explicit MediaPlayerControl(QWidget* parent = nullptr);
    ~MediaPlayerControl() override;

    // Plays the file or address from its start; the empty text stops.
    void setFileName(const QString& fileOrAddress);
    QString fileName() const { return fileName_; }

    void setDisplaySize(int size);
    int displaySize() const { return displaySize_; }

    // In hundredths of a decibel: 0 the loudest, lower values quieter,
    // -10000 and below silent.
    void setVolume(int volume);
    int volume() const { return volume_; }

    // The engine, made at the first file name.
    MediaEngine* engine() const { return engine_.get(); }

protected:
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void layoutVideo();

    std::unique_ptr<MediaEngine> engine_;
    QString fileName_;
    int displaySize_ = mpFitToSize;
    int volume_ = 0;
};

} // namespace zol
