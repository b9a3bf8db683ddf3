// The backup window: a panel that backs up zol.mdb to a file the user
// chooses and restores it from one, and a close button. The main window's
// backup and restore commands both show it.
#pragma once

#include "platform/form.h"

#include <QFrame>
#include <functional>

class QLabel;
class QPushButton;

namespace zol {

// How a long backup or restore shows how far it has come. The program's
// own shows a progress dialog once a step lasts more than half a second and
// keeps the windows painting meanwhile; tests put in one that shows nothing.
class ProgressDisplay {
public:
    virtual ~ProgressDisplay() = default;
    virtual void begin(QWidget* window, const QString& text) = 0;
    virtual void show(int percent) = 0;
    virtual void end() = 0;
};

// Installs a display (nullptr goes back to the progress dialog).
void setProgressDisplay(ProgressDisplay* display);

// The backup and restore panel for zol.mdb in the program folder.
class DataBackup : public QFrame {
    Q_OBJECT
public:
    explicit DataBackup(QWidget* parent = nullptr);

    QLabel* fileLabel = nullptr;      // which database, and how many tests it holds
    QPushButton* backupButton = nullptr;
    QPushButton* restoreButton = nullptr;
    QLabel* outcomeLabel = nullptr;   // the last operation's outcome

    // Shows the database file and its number of tests again.
    void showDatabase();
    // Asks for a file and writes the backup there. True when it was written.
    bool Backup();
    // Asks for a backup file, checks it, asks before replacing, keeps a
    // safety copy and replaces the data. True when the data was replaced.
    bool Restore();

private:
    void setOutcome(const QString& text);
    // Runs one operation with its progress shown; none runs while another does.
    bool busyWith(const QString& text, const std::function<bool(const std::function<void(int)>&)>& work);
    bool busy_ = false;
};

class Frmzol14Form : public Form {
    Q_OBJECT
public:
    Frmzol14Form();

    DataBackup* DataBackup1 = nullptr;
    QPushButton* Command1 = nullptr;   // "退   出"

    void Command1_Click() { Unload(); }
};

inline Frmzol14Form& frmzol14() { return DefaultForm<Frmzol14Form>::get(); }

} // namespace zol
