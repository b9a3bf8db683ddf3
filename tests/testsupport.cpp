#include "testsupport.h"

#include "platform/form.h"
#include "platform/paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QTest>

namespace zoltest {

std::vector<Registered>& registry()
{
    static std::vector<Registered> r;
    return r;
}

TempProgramFolder::TempProgramFolder()
{
    zol::setProgramFolder(dir_.path());
}

TempProgramFolder::~TempProgramFolder()
{
    zol::setProgramFolder(QString());
}

QString TempProgramFolder::file(const QString& name) const
{
    return QDir(dir_.path()).filePath(name);
}

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

void verifyOneMessage(const zol::ScriptedDialogs& dialogs, const QString& prompt,
                      const QString& title, int style)
{
    QCOMPARE(dialogs.count(), 1);
    QCOMPARE(dialogs.last().prompt, prompt);
    QCOMPARE(dialogs.last().title, title);
    QCOMPARE(dialogs.last().style, style);
}

QStringList items(QStringView text)
{
    return text.toString().split(QLatin1Char('|'));
}

PdfPrint::PdfPrint() { zol::setPrintService(this); }

PdfPrint::~PdfPrint() { zol::setPrintService(nullptr); }

bool PdfPrint::choose(QPrinter& printer, QWidget*, const zol::PdfOffer& pdf)
{
    ++asked;
    offered = pdf;
    if (pdfPath.isEmpty())
        return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfPath);
    return true;
}

namespace {
class RecordingEngine : public zol::MediaEngine {
public:
    explicit RecordingEngine(QStringList& log) : log_(log) {}
    void setSource(const QString& s) override { log_ << QStringLiteral("source ") + s; }
    void play() override { log_ << QStringLiteral("play"); }
    void pause() override { log_ << QStringLiteral("pause"); }
    void stop() override { log_ << QStringLiteral("stop"); }
    void setPosition(qint64 ms) override { log_ << QStringLiteral("position %1").arg(ms); }
    void setVolume(float v) override { log_ << QStringLiteral("volume %1").arg(double(v), 0, 'f', 3); }
    QWidget* videoWidget() override { return nullptr; }

private:
    QStringList& log_;
};
} // namespace

RecordingMedia::RecordingMedia() { zol::setMedia(this); }

RecordingMedia::~RecordingMedia() { zol::setMedia(nullptr); }

std::unique_ptr<zol::MediaEngine> RecordingMedia::newEngine(QWidget*)
{
    auto engine = std::make_unique<RecordingEngine>(log);
    last = engine.get();
    return engine;
}

void WindowFixture::startWindows()
{
    zol::unloadAllWindows();
    folder = std::make_unique<TempProgramFolder>();
    dialogs = std::make_unique<zol::ScriptedDialogs>();
}

void WindowFixture::stopWindows()
{
    zol::unloadAllWindows();
    dialogs.reset();
    folder.reset();
}

} // namespace zoltest
