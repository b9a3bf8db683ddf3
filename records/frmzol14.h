// The backup window: a panel that backs up zol.mdb to a file the user
// chooses and restores it from one, and a close button. The main window's
// backup and restore commands both show it.
#pragma once

#include "platform/form.h"

#include <QFrame>

class QLabel;
class QPushButton;

namespace zol {

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
