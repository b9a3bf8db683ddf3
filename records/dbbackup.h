// Backing up and restoring the tests database, without any window.
//
// A backup is a consistent copy made with SQLite's online backup, never a
// copy of a file that may be in the middle of a write; it is checked before
// it takes the chosen name. A restore checks the chosen file first, keeps a
// safety copy of the current database beside it, and replaces the content
// through the online backup in one step, so that on any failure the current
// database is unchanged and connections other windows hold stay valid.
#pragma once

#include <QString>

namespace zol {

// Whether two paths name one file.
bool isSameFile(const QString& a, const QString& b);

// What a file holds that is to be restored from (or was just written).
struct BackupCheck {
    bool ok = false;
    int rows = 0;       // stored tests, when ok
    QString problem;    // why the file cannot be used, when not ok
};

// Whether the file is an SQLite database holding 用户信息 with the 21 fields
// that passes the integrity check (skipped when integrity is false, for a
// mere count). Reads only; changes nothing. The problem text says what is
// wrong with the file, not what cannot be done with it.
BackupCheck checkBackupFile(const QString& path, bool integrity = true);

// Writes a copy of the database at source to target; an existing target is
// replaced only by a complete and checked copy. Reports a failure itself
// (one error box) and returns false. *rows: the tests the copy holds.
bool backupDatabase(const QString& source, const QString& target, int* rows = nullptr);

// The file name of a safety copy made now beside the database at path.
QString safetyCopyPath(const QString& path);

// Replaces the content of the database at current by that of the checked
// file backup. Reports a failure itself and returns false; then current is
// as it was.
bool replaceDatabase(const QString& current, const QString& backup);

} // namespace zol
