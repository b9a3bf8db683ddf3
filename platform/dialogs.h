// Message boxes, input boxes and file dialogs of the whole program.
//
// Every window asks through these functions, never through QMessageBox
// directly, so that a test can install a scripted stand-in that answers
// from a list and records what was asked.
#pragma once

#include <QString>
#include <QStringList>
#include <QList>
#include <memory>

namespace zol {

// Buttons and icons, combined with | as the classic message box did.
enum MsgStyle : int {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
};

// What the user answered.
enum MsgResult : int { vbOK = 1, vbCancel = 2 };

// One question put to the user, as a scripted service records it.
struct DialogCall {
    enum Kind { Message, Input, OpenFile, SaveFile } kind = Message;
    QString prompt;   // message text, input prompt or file dialog title
    QString title;    // the title actually shown (program title when none was given)
    int style = 0;    // MsgStyle bits (message boxes only)
    QString filter;   // file dialogs only
};

class DialogService {
public:
    virtual ~DialogService() = default;
    virtual int message(const QString& prompt, int style, const QString& title) = 0;
    // Returns false when the user cancelled.
    virtual bool input(const QString& prompt, const QString& title,
                       const QString& defaultText, QString* answer) = 0;
    // Returns the chosen path, or an empty string when the user cancelled.
    virtual QString openFile(const QString& title, const QString& filter) = 0;
    virtual QString saveFile(const QString& title, const QString& filter) = 0;
};

// The program's title: shown by a box that has no title of its own.
void setProgramTitle(const QString& title);
QString programTitle();

// The service in use. Without one installed, the real dialogs are used.
DialogService& dialogs();
// Installs a service (the previous one is restored by passing nullptr).
void setDialogService(DialogService* service);

// The calls the windows make.
int MsgBox(const QString& prompt, int style = vbOKOnly, const QString& title = QString());
bool InputBox(const QString& prompt, const QString& title, const QString& defaultText,
              QString* answer);
QString OpenFileDialog(const QString& title, const QString& filter);
QString SaveFileDialog(const QString& title, const QString& filter);

// Shows the error message box of the database and file layers: title "出错信息",
// OK alone, error icon.
void ErrorBox(const QString& text);

// A stand-in for tests: answers message boxes from a queue (OK when the
// queue is empty), input boxes and file dialogs likewise (cancel when empty),
// and keeps every call. Installs itself for its lifetime.
class ScriptedDialogs : public DialogService {
public:
    ScriptedDialogs();
    ~ScriptedDialogs() override;

    QList<DialogCall> calls;
    QList<int> messageAnswers;    // vbOK / vbCancel, taken from the front
    QStringList inputAnswers;     // a null QString() means cancel
    QStringList fileAnswers;      // empty means cancel

    int message(const QString& prompt, int style, const QString& title) override;
    bool input(const QString& prompt, const QString& title, const QString& defaultText,
               QString* answer) override;
    QString openFile(const QString& title, const QString& filter) override;
    QString saveFile(const QString& title, const QString& filter) override;

    // Convenience for tests.
    int count() const { return calls.size(); }
    DialogCall last() const { return calls.isEmpty() ? DialogCall{} : calls.last(); }
    QStringList prompts() const;
    void clear() { calls.clear(); }

private:
    DialogService* previous_ = nullptr;
};

} // namespace zol
