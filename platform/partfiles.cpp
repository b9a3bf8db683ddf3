#include "platform/partfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iterator>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zol {

namespace {

// The files of this process that are being written: the cleaner must not
// even open them. (Written from more than one thread.)
QSet<QString>& heldHere()
{
    static QSet<QString> paths;
    return paths;
}

QMutex& heldLock()
{
    static QMutex lock;
    return lock;
}

QString absolute(const QString& path) { return QFileInfo(path).absoluteFilePath(); }

// The program's mark in the names of its passing files.
const QLatin1String kMark("zolmiv");

// What a passing file holds when this program wrote it: the pages of an
// SQLite database, whose header may not be written yet (zeros), or nothing.
bool holdsWhatWeWrite(int fd)
{
    static const char kHeader[16] = "SQLite format 3";   // and its terminating zero
    char start[16] = {};
    const ssize_t n = ::pread(fd, start, sizeof start, 0);
    if (n == 0)
        return true;
    if (n != ssize_t(sizeof start))
        return false;
    return std::memcmp(start, kHeader, sizeof start) == 0
           || std::all_of(std::begin(start), std::end(start), [](char c) { return c == 0; });
}

} // namespace

PartFile::PartFile(const QString& path, int fd) : path_(path), fd_(fd)
{
    const QMutexLocker locker(&heldLock());
    heldHere().insert(path_);
}

PartFile::~PartFile()
{
    const QMutexLocker locker(&heldLock());
    heldHere().remove(path_);
    ::close(fd_);
}

std::unique_ptr<PartFile> PartFile::create(const QString& path)
{
    const QString abs = absolute(path);
    const QByteArray name = QFile::encodeName(abs);
    const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return nullptr;
    // A cleaner may have taken the file between its making and the lock;
    // then it is gone, and the name is free again for the next try.
    struct stat held {}, named {};
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::fstat(fd, &held) != 0
        || ::stat(name.constData(), &named) != 0 || held.st_ino != named.st_ino
        || held.st_dev != named.st_dev) {
        ::close(fd);
        errno = EEXIST;
        return nullptr;
    }
    return std::unique_ptr<PartFile>(new PartFile(abs, fd));
}

std::unique_ptr<PartFile> PartFile::besideTarget(const QString& target)
{
    const QFileInfo info(target);
    for (int i = 0; i < 1000; ++i) {
        const QString name = info.absoluteDir().filePath(
            QStringLiteral(".%1.%2-%3.part").arg(info.fileName(), kMark).arg(i));
        if (auto file = create(name))
            return file;
        if (errno != EEXIST)
            return nullptr;
    }
    return nullptr;
}

bool PartFile::isPassingName(const QString& fileName)
{
    static const QRegularExpression shape(
        QStringLiteral(R"(^\..+\.%1-\d+\.part$)").arg(QRegularExpression::escape(kMark)));
    return shape.match(fileName).hasMatch();
}

void removeLeftoverFiles(const QString& folder)
{
    const QDir dir(folder);
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        if (!PartFile::isPassingName(name))
            continue;
        const QString path = absolute(dir.filePath(name));
        const QMutexLocker locker(&heldLock());
        if (heldHere().contains(path))
            continue;
        const QByteArray encoded = QFile::encodeName(path);
        // A second name of a file (a new database already linked into place)
        // is no leftover, and it may be open in this process.
        struct stat named {};
        if (::lstat(encoded.constData(), &named) != 0 || !S_ISREG(named.st_mode) || named.st_nlink != 1)
            continue;
        const int fd = ::open(encoded.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0)
            continue;
        struct stat held {};
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &held) == 0
            && held.st_ino == named.st_ino && held.st_dev == named.st_dev && holdsWhatWeWrite(fd)) {
            ::unlink(encoded.constData());
            QFile::remove(path + QStringLiteral("-journal"));
        }
        ::close(fd);
    }
}

} // namespace zol
