#include "platform/dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

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
        return QFileDialog::getOpenFileName(dialogParent(), title, QString(), filter);
    }

    QString saveFile(const QString& title, const QString& filter, const QString& proposed) override
    {
        return QFileDialog::getSaveFileName(dialogParent(), title, proposed, filter);
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

} // namespace zol
