#include "platform/links.h"

#include "platform/dialogs.h"
#include "platform/paths.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QProcess>
#include <QUrl>
#include <QWidget>

namespace zol {

void Links::setHelpFile(const QString&) {}

void Links::setBannerMovie(QWidget*, const QString&) {}

void Links::openHelp(QWidget*) {}

void Links::openWebPage(const QString&) {}

void Links::openMail(const QString&) {}

void Links::openTextFile(const QString&) {}

bool Links::startProgram(const QString&) { return false; }

namespace {
Links*& current()
{
    static Links* l = nullptr;
    return l;
}

class HelpKeyFilter : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_F1 && key->modifiers() == Qt::NoModifier) {
                links().openHelp(static_cast<QWidget*>(watched)->window());
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};
} // namespace

Links& links()
{
    static Links none;
    return current() ? *current() : none;
}

void setLinks(Links* service) { current() = service; }

void DesktopLinks::setHelpFile(const QString& path) { helpFile_ = path; }

void DesktopLinks::setBannerMovie(QWidget* banner, const QString& path)
{
    if (banner)
        banner->setProperty("movie", path);
}

// The opener is not waited for: the window stays live, and its exit status
// tells afterwards whether a program took the file (xdg-open exits 3 when
// none does, 4 when the file cannot be handed over). An opener still running
// when the program ends is left running, with whatever it opened.
void DesktopLinks::openLocalFile(const QString& path, const QString& what, const QString& program)
{
    const QString shown = shownPath(path);
    if (!QFileInfo(path).isFile()) {
        MsgBox(QStringLiteral("找不到%1：\n%2").arg(what, shown), vbOKOnly | vbExclamation);
        return;
    }
    const auto failed = [=] {
        MsgBox(QStringLiteral("无法打开%1，系统中可能没有装%2。\n请用%2打开这个文件：\n%3")
                   .arg(what, program, shown),
               vbOKOnly | vbExclamation);
    };
    auto* opener = new QProcess;
    QObject::connect(opener, &QProcess::finished, opener,
                     [opener, failed](int code, QProcess::ExitStatus status) {
                         opener->deleteLater();
                         if (status != QProcess::NormalExit || code != 0)
                             failed();
                     });
    QObject::connect(opener, &QProcess::errorOccurred, opener,
                     [opener, failed](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart)
                             return;
                         opener->deleteLater();
                         failed();
                     });
    // Nothing is read from the opener: its output goes where the program's goes.
    opener->setProcessChannelMode(QProcess::ForwardedChannels);
    opener->start(opener_.value(0), opener_.mid(1) << path);
}

void DesktopLinks::openHelp(QWidget*)
{
    openLocalFile(helpFile_, QStringLiteral("帮助文件"), QStringLiteral("网页浏览器"));
}

void DesktopLinks::openWebPage(const QString& address) { QDesktopServices::openUrl(QUrl(address)); }

void DesktopLinks::openMail(const QString& address)
{
    QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:") + address));
}

void DesktopLinks::openTextFile(const QString& path)
{
    openLocalFile(path, QStringLiteral("说明文件"), QStringLiteral("文本编辑器"));
}

bool DesktopLinks::startProgram(const QString& path)
{
    return !path.isEmpty() && QProcess::startDetached(path, {});
}

void installHelpKey()
{
    static HelpKeyFilter* filter = nullptr;
    if (!filter) {
        filter = new HelpKeyFilter;
        qApp->installEventFilter(filter);
    }
}

QString helpFilePath(const QString& folder)
{
    return folder + (folder.endsWith(QLatin1Char('/')) ? QString() : QStringLiteral("/"))
           + QStringLiteral("morvu.html");
}

QString bannerMoviePath(const QString& folder) { return folder + QStringLiteral("/gg.swf"); }

QString notesFilePath(const QString& folder) { return folder + QStringLiteral("/zolupdate.txt"); }

} // namespace zol
