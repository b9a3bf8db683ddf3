#include "platform/partfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QRegularExpression>
#include <QSet>
#include <cerrno>
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

// What the writers of this program name their passing files.
bool isPassingName(const QString& name)
{
    static const QRegularExpression part(QStringLiteral(R"(^\..+\.\d+\.part$)"));
    static const QRegularExpression fresh(QStringLiteral(R"(^.+\.mdb\.\d+-\d+\.new$)"));
    return part.match(name).hasMatch() || fresh.match(name).hasMatch();
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
            QStringLiteral(".%1.%2.part").arg(info.fileName()).arg(i));
        if (auto file = create(name))
            return file;
        if (errno != EEXIST)
            return nullptr;
    }
    return nullptr;
}

void removeLeftoverFiles(const QString& folder)
{
    const QDir dir(folder);
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        if (!isPassingName(name))
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
            && held.st_ino == named.st_ino && held.st_dev == named.st_dev) {
            ::unlink(encoded.constData());
            QFile::remove(path + QStringLiteral("-journal"));
        }
        ::close(fd);
    }
}

} // namespace zol
