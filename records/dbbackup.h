// Backing up and restoring the tests database, without any window.
//
// A backup is a consistent page copy made with SQLite's online backup while
// a read lock keeps other copies of the program from changing the file; it
// takes the chosen name only when whole.
//
// A restore carries only the tests: the rows of the backup's 用户信息, read
// by the 21 field names, checked and converted as a save converts them in
// one reading of the backup (what is copied is what was checked), go into a
// new file of the program's own layout, whose pages then replace those of
// the current file through the online backup; nothing else of the
// backup (triggers, other tables, journal mode, encoding, key columns)
// comes along. The exclusive lock of the current file is held from the
// safety copy to the end of the replacement, so that every save another
// copy reports as stored is in one of the two. On any failure the current
// database is unchanged.
#pragma once

#include <QString>
#include <functional>

namespace zol {

// Told the percentage done (0 to 100) now and then during a long step.
using Progress = std::function<void(int percent)>;

// Whether two paths name one file (also through a link or a second name).
bool isSameFile(const QString& a, const QString& b);

// What a file holds that is to be restored from.
struct BackupCheck {
    bool ok = false;
    int rows = 0;       // stored tests, when ok
    QString problem;    // why the file cannot be used, when not ok
};

// Whether the file is an SQLite database whose 用户信息 is a table with the
// 21 fields, and how many rows it has. Reads only; changes nothing. The
// problem text says what is wrong with the file, not what cannot be done
// with it. Damage in rows that are not read shows only when they are.
BackupCheck checkBackupFile(const QString& path);

// Writes a copy of the database at source to target; an existing target is
// replaced only by a complete copy. A name that the engine or this program
// would later take for its own file and delete (zol.mdb-journal beside
// source, a passing name of partfiles.h) is refused. Reports a failure
// itself (one error box) and returns false. *rows: the tests the copy holds.
bool backupDatabase(const QString& source, const QString& target, int* rows = nullptr,
                    const Progress& progress = {});

// The file name of a safety copy made now beside the database at path.
QString safetyCopyPath(const QString& path);

// Replaces the tests of the database at current by those of the file
// backup, after keeping a safety copy of the current database beside it
// (*safety: its path, empty when there was no database). Reports a failure
// itself and returns false; then current is as it was, and neither a safety
// copy nor anything else the restore made is left. *rows: the tests the
// database now holds.
bool restoreDatabase(const QString& current, const QString& backup, QString* safety = nullptr,
                     int* rows = nullptr, const Progress& progress = {});

} // namespace zol
