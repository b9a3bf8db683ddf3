#include "qtengine.h"

#include "playlist.h"

#include <QAudioOutput>
#include <QDir>
#include <QFile>
#include <QMediaPlayer>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QVideoWidget>

namespace zol {

namespace {
QUrl toUrl(const QString& fileOrAddress)
{
    return QUrl::fromUserInput(fileOrAddress, QDir::currentPath(), QUrl::AssumeLocalFile);
}
} // namespace

QtMediaEngine::QtMediaEngine(QWidget* videoParent) : owner_(std::make_unique<QObject>())
{
    player_ = new QMediaPlayer(owner_.get());
    audio_ = new QAudioOutput(owner_.get());
    player_->setAudioOutput(audio_);
    if (videoParent) {
        video_ = new QVideoWidget(videoParent);
        player_->setVideoOutput(video_.data());
    }
    QObject::connect(player_, &QMediaPlayer::positionChanged, owner_.get(), [this](qint64 ms) {
        if (positionChanged)
            positionChanged(ms);
    });
    QObject::connect(player_, &QMediaPlayer::mediaStatusChanged, owner_.get(),
                     [this](QMediaPlayer::MediaStatus status) {
                         if (status == QMediaPlayer::EndOfMedia && ended)
                             ended();
                     });
    QObject::connect(player_, &QMediaPlayer::errorOccurred, owner_.get(),
                     [this](QMediaPlayer::Error, const QString& text) { report(text); });
}

QtMediaEngine::~QtMediaEngine()
{
    if (fetching_)
        fetching_->abort();
    owner_.reset();
    delete video_.data();
}

void QtMediaEngine::setSource(const QString& fileOrAddress)
{
    if (fetching_)
        fetching_->abort();
    if (fileOrAddress.trimmed().isEmpty()) {
        player_->stop();
        player_->setSource(QUrl());
        return;
    }
    if (!isAsxAddress(fileOrAddress)) {
        setUrl(toUrl(fileOrAddress));
        return;
    }
    // A channel playlist: what plays is its first stream.
    const QUrl url = toUrl(fileOrAddress);
    if (url.isLocalFile()) {
        QFile f(url.toLocalFile());
        const QString stream = f.open(QIODevice::ReadOnly) ? asxFirstStream(f.readAll()) : QString();
        if (stream.isEmpty())
            report(QStringLiteral("no stream in ") + fileOrAddress);
        else
            setUrl(toUrl(stream));
        return;
    }
    if (!net_)
        net_ = new QNetworkAccessManager(owner_.get());
    player_->stop();
    QNetworkRequest request(url);
    request.setTransferTimeout(15000);
    fetching_ = net_->get(request);
    QNetworkReply* reply = fetching_.data();
    QObject::connect(reply, &QNetworkReply::finished, owner_.get(), [this, reply, fileOrAddress] {
        reply->deleteLater();
        if (reply->error() == QNetworkReply::OperationCanceledError)
            return;
        const QString stream =
            reply->error() == QNetworkReply::NoError ? asxFirstStream(reply->readAll()) : QString();
        if (stream.isEmpty()) {
            report(QStringLiteral("no stream in ") + fileOrAddress + QStringLiteral(": ")
                   + reply->errorString());
            return;
        }
        setUrl(toUrl(stream));
    });
}

void QtMediaEngine::setUrl(const QUrl& url)
{
    player_->setSource(url);
    if (wantPlay_)
        player_->play();
}

void QtMediaEngine::play()
{
    wantPlay_ = true;
    if (!fetching_)
        player_->play();
}

void QtMediaEngine::pause()
{
    wantPlay_ = false;
    player_->pause();
}

void QtMediaEngine::stop()
{
    wantPlay_ = false;
    player_->stop();
}

void QtMediaEngine::setPosition(qint64 ms) { player_->setPosition(ms); }

void QtMediaEngine::setVolume(float linear) { audio_->setVolume(linear); }

QWidget* QtMediaEngine::videoWidget() { return video_.data(); }

void QtMediaEngine::report(const QString& why)
{
    qWarning("zolmiv: media: %s", qPrintable(why));
    if (failed)
        failed(why);
}

} // namespace zol
