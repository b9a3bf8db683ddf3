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
    QString proposed; // save dialogs only: the file name offered
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
    // proposed: the file name offered in the dialog (may be empty).
    virtual QString saveFile(const QString& title, const QString& filter,
                             const QString& proposed) = 0;
};

// The program's title: shown by a box that has no title of its own.
void setProgramTitle(const QString& title);
QString programTitle();

// The service in use. Without one installed, the real dialogs are used.
DialogService& dialogs();
// Installs a service (nullptr goes back to the real dialogs).
void setDialogService(DialogService* service);
// The installed service, or nullptr while the real dialogs are in use.
DialogService* installedDialogService();

// The calls the windows make.
int MsgBox(const QString& prompt, int style = vbOKOnly, const QString& title = QString());
bool InputBox(const QString& prompt, const QString& title, const QString& defaultText,
              QString* answer);
QString OpenFileDialog(const QString& title, const QString& filter);
QString SaveFileDialog(const QString& title, const QString& filter,
                       const QString& proposed = QString());

// Shows the error message box of the database and file layers: title "出错信息",
// OK alone, error icon.
void ErrorBox(const QString& text);

// Installs Qt's own Chinese texts (file dialogs, standard buttons, the
// question before a file is replaced) whatever the system's language: the
// whole interface is Chinese. False when the translation cannot be loaded.
bool installQtChinese();

// Where a file dialog starts: the folder of the file chosen in the last file
// dialog (kept across runs), or the user's documents folder; with a proposed
// name, that file in the folder.
QString fileDialogStart(const QString& proposed = QString());
// Keeps the folder of a file chosen in a file dialog for the next dialog.
void rememberFileDialogFolder(const QString& chosenPath);

// A text made fit to be a file name: characters no file name may hold
// (separators, control characters, and those other systems refuse) become
// "_", leading and trailing blanks and dots are dropped.
QString safeFileName(const QString& text);

} // namespace zol
