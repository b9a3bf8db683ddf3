#include "platform/links.h"

#include "platform/dialogs.h"

#include <QApplication>
#include <QDesktopServices>
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

// A file of the program folder opened by the desktop; what went wrong is
// said in a message.
void openLocalFile(const QString& path, const QString& what, const QString& program)
{
    if (!QFileInfo(path).isFile()) {
        MsgBox(QStringLiteral("找不到%1：\n%2").arg(what, path), vbOKOnly | vbExclamation);
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        MsgBox(QStringLiteral("无法打开%1，请检查系统中是否装有%2。").arg(what, program),
               vbOKOnly | vbExclamation);
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
