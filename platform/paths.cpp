#include "platform/paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace zol {

namespace {
QString& overrideFolder()
{
    static QString f;
    return f;
}
} // namespace

QString programFolder()
{
    if (!overrideFolder().isEmpty())
        return overrideFolder();
    return QCoreApplication::applicationDirPath();
}

void setProgramFolder(const QString& folder) { overrideFolder() = folder; }

QString programFile(const QString& name)
{
    return QDir(programFolder()).filePath(name);
}

QString shownPath(const QString& path)
{
    if (path.isEmpty())
        return QStringLiteral("zol.mdb");
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

} // namespace zol
