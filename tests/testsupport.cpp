#include "testsupport.h"

#include "platform/form.h"
#include "platform/paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QTest>

namespace zoltest {

std::vector<Factory>& registry()
{
    static std::vector<Factory> r;
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

bool PdfPrint::choose(QPrinter& printer, QWidget*)
{
    ++asked;
    if (pdfPath.isEmpty())
        return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfPath);
    return true;
}

void WindowFixture::startWindows()
{
    zol::Form::unloadAll();
    folder = std::make_unique<TempProgramFolder>();
    dialogs = std::make_unique<zol::ScriptedDialogs>();
}

void WindowFixture::stopWindows()
{
    zol::Form::unloadAll();
    dialogs.reset();
    folder.reset();
}

} // namespace zoltest
