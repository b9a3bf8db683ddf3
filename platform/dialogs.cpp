#include "platform/dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QInputDialog>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTranslator>

namespace zol {

namespace {

QString& titleStore()
{
    static QString t;
    return t;
}

QString titleOrProgram(const QString& title)
{
    return title.isEmpty() ? programTitle() : title;
}

QWidget* dialogParent()
{
    QWidget* w = QApplication::activeModalWidget();
    if (!w)
        w = QApplication::activeWindow();
    return w;
}

// A message box is at least as wide as its title needs, with room for the
// window manager's icon and buttons, so that the title is not cut.
void widenForTitle(QMessageBox& box, const QString& title)
{
    QFont font = box.font();
    font.setBold(true);
    const int wanted = QFontMetrics(font).horizontalAdvance(title) + 140;
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(wanted, 0, QSizePolicy::Minimum, QSizePolicy::Expanding),
                      grid->rowCount(), 0, 1, grid->columnCount());
}

// Widens Qt's own message boxes too (the question before a file is
// replaced carries the file dialog's long title) while it is installed.
class WidenQtBoxes : public QObject {
public:
    WidenQtBoxes() { qApp->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* box = qobject_cast<QMessageBox*>(watched);
        if (box && event->type() == QEvent::Show && !box->property("widened").toBool()) {
            box->setProperty("widened", true);
            widenForTitle(*box, box->windowTitle());
        }
        return false;
    }
};

// Qt's own file dialog, in Chinese whatever the desktop's language. A filter
// whose labels already name their patterns, as "视频文件(*.AVI,*.ASF,*.MPEG)"
// does, is shown by its label alone rather than with the patterns twice.
QFileDialog::Options fileDialogOptions(const QString& filter)
{
    QFileDialog::Options options = QFileDialog::DontUseNativeDialog;
    static const QRegularExpression entry(QStringLiteral("^(.*)\\([^()]*\\)\\s*$"));
    bool labelsNamePatterns = !filter.isEmpty();
    for (const QString& f : filter.split(QStringLiteral(";;"))) {
        const QRegularExpressionMatch m = entry.match(f);
        labelsNamePatterns = labelsNamePatterns && m.hasMatch()
                             && m.captured(1).contains(QLatin1Char('('));
    }
    if (labelsNamePatterns)
        options |= QFileDialog::HideNameFilterDetails;
    return options;
}

QSettings& settings()
{
    static QSettings s(QStringLiteral("zolmiv"), QStringLiteral("zolmiv"));
    return s;
}

const QString kFolderKey = QStringLiteral("dialogs/folder");

class RealDialogs : public DialogService {
public:
    int message(const QString& prompt, int style, const QString& title) override
    {
        QMessageBox box(dialogParent());
        box.setWindowTitle(title);
        box.setText(prompt);
        switch (style & 0x70) {
        case vbCritical: box.setIcon(QMessageBox::Critical); break;
        case vbQuestion: box.setIcon(QMessageBox::Question); break;
        case vbExclamation: box.setIcon(QMessageBox::Warning); break;
        case vbInformation: box.setIcon(QMessageBox::Information); break;
        default: box.setIcon(QMessageBox::NoIcon); break;
        }
        QPushButton* ok = box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
        QPushButton* cancel = nullptr;
        if ((style & 0x0F) == vbOKCancel)
            cancel = box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
        widenForTitle(box, title);
        box.setDefaultButton(ok);
        if (cancel)
            box.setEscapeButton(cancel);
        else
            box.setEscapeButton(ok);
        box.exec();
        return (cancel && box.clickedButton() == cancel) ? vbCancel : vbOK;
    }

    bool input(const QString& prompt, const QString& title, const QString& defaultText,
               QString* answer) override
    {
        bool ok = false;
        const QString text = QInputDialog::getText(dialogParent(), title, prompt,
                                                   QLineEdit::Normal, defaultText, &ok);
        if (ok && answer)
            *answer = text;
        return ok;
    }

    QString openFile(const QString& title, const QString& filter) override
    {
        const QString path = QFileDialog::getOpenFileName(dialogParent(), title, fileDialogStart(),
                                                          filter, nullptr, fileDialogOptions(filter));
        rememberFileDialogFolder(path);
        return path;
    }

    QString saveFile(const QString& title, const QString& filter, const QString& proposed) override
    {
        WidenQtBoxes widen;
        const QString path =
            QFileDialog::getSaveFileName(dialogParent(), title, fileDialogStart(proposed), filter,
                                         nullptr, fileDialogOptions(filter));
        rememberFileDialogFolder(path);
        return path;
    }
};

DialogService*& current()
{
    static DialogService* s = nullptr;
    return s;
}

} // namespace

void setProgramTitle(const QString& title) { titleStore() = title; }

QString programTitle()
{
    if (!titleStore().isEmpty())
        return titleStore();
    return QApplication::applicationName();
}

DialogService& dialogs()
{
    static RealDialogs real;
    return current() ? *current() : real;
}

void setDialogService(DialogService* service) { current() = service; }

DialogService* installedDialogService() { return current(); }

int MsgBox(const QString& prompt, int style, const QString& title)
{
    return dialogs().message(prompt, style, titleOrProgram(title));
}

bool InputBox(const QString& prompt, const QString& title, const QString& defaultText,
              QString* answer)
{
    return dialogs().input(prompt, titleOrProgram(title), defaultText, answer);
}

QString OpenFileDialog(const QString& title, const QString& filter)
{
    return dialogs().openFile(titleOrProgram(title), filter);
}

QString SaveFileDialog(const QString& title, const QString& filter, const QString& proposed)
{
    return dialogs().saveFile(titleOrProgram(title), filter, proposed);
}

void ErrorBox(const QString& text)
{
    MsgBox(text, vbOKOnly | vbCritical, QStringLiteral("出错信息"));
}

bool installQtChinese()
{
    static QTranslator* qtbase = nullptr;
    if (qtbase)
        return true;
    auto* t = new QTranslator(qApp);
    if (!t->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete t;
        return false;
    }
    QCoreApplication::installTranslator(t);
    qtbase = t;
    return true;
}

QString fileDialogStart(const QString& proposed)
{
    QString folder = settings().value(kFolderKey).toString();
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    return proposed.isEmpty() ? folder : QDir(folder).filePath(proposed);
}

void rememberFileDialogFolder(const QString& chosenPath)
{
    if (chosenPath.isEmpty())
        return;
    settings().setValue(kFolderKey, QFileInfo(chosenPath).absolutePath());
    settings().sync();
}

QString safeFileName(const QString& text)
{
    QString name;
    for (const QChar c : text)
        name += (c.unicode() < 0x20 || QStringLiteral("\\/:*?\"<>|").contains(c)) ? QChar(u'_') : c;
    static const QRegularExpression ends(QStringLiteral("^[\\s.]+|[\\s.]+$"));
    return name.remove(ends);
}

} // namespace zol
