// Files written under a passing name and renamed once whole: a backup, the
// safety copy of a restore, a new database, the new tests of a restore. A
// copy of the program that is killed while writing one leaves it behind;
// the next backup, restore or start-up removes it.
//
// A passing name carries the program's mark and the name of the file it is
// to become (".备份.mdb.zolmiv-0.part"), and the cleaner removes only a file
// of such a name that holds what the program writes there (an SQLite
// database, or nothing yet): a file of the user's own in a folder the user
// chose is never removed, whatever it is called.
//
// A writer holds an flock() lock on its file for as long as it writes, and
// the cleaner removes only files whose lock it can take, so that it never
// removes what another running copy is still writing. (flock() locks are
// apart from the fcntl() locks SQLite takes; but closing any descriptor of a
// file drops this process's fcntl() locks on it, so the cleaner never opens
// a file this process writes.)
#pragma once

#include <QString>
#include <memory>

namespace zol {

// A file made new under its name and locked until the object is destroyed.
// Destroy it only after every connection of this process to the file is
// closed (see above).
class PartFile {
public:
    ~PartFile();
    PartFile(const PartFile&) = delete;
    PartFile& operator=(const PartFile&) = delete;

    // A new file ".<name>.zolmiv-<n>.part" beside target, with the first n free.
    static std::unique_ptr<PartFile> besideTarget(const QString& target);
    // Whether a file name is one besideTarget gives.
    static bool isPassingName(const QString& fileName);

    QString path() const { return path_; }
    // The descriptor it was made with, open for reading and writing.
    int handle() const { return fd_; }

private:
    PartFile(const QString& path, int fd);
    // Creates path, which must not exist yet, and locks it. nullptr when
    // that fails (errno says why).
    static std::unique_ptr<PartFile> create(const QString& path);
    QString path_;
    int fd_;
};

// Removes from folder what killed backups, restores and database creations
// left behind, except files that a running copy still holds.
void removeLeftoverFiles(const QString& folder);

} // namespace zol
