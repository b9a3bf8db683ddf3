// A player of sound and video files and streams on Qt Multimedia.
#pragma once

#include "platform/media.h"

#include <QPointer>
#include <QUrl>

class QAudioOutput;
class QMediaPlayer;
class QNetworkAccessManager;
class QNetworkReply;
class QVideoWidget;

namespace zol {

class QtMediaEngine : public MediaEngine {
public:
    explicit QtMediaEngine(QWidget* videoParent);
    ~QtMediaEngine() override;

    void setSource(const QString& fileOrAddress) override;
    void play() override;
    void pause() override;
    void stop() override;
    void setPosition(qint64 ms) override;
    void setVolume(float linear) override;
    QWidget* videoWidget() override;

private:
    void setUrl(const QUrl& url);
    void report(const QString& why);

    // Owns the player and its outputs; deleting it ends their connections.
    std::unique_ptr<QObject> owner_;
    QMediaPlayer* player_ = nullptr;
    QAudioOutput* audio_ = nullptr;
    QPointer<QVideoWidget> video_;
    QNetworkAccessManager* net_ = nullptr;
    QPointer<QNetworkReply> fetching_;
    bool wantPlay_ = false;
};

} // namespace zol
