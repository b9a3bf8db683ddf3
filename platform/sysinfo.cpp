#include "platform/sysinfo.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace zol {

QString sysInfoProgramName() { return QStringLiteral("hardinfo"); }

bool readSystemValue(qint32 root, const QString& keyPath, const QString& valueName,
                     QString* value)
{
    value->clear();
    if (root != HKEY_LOCAL_MACHINE)
        return false;
    if (keyPath == QLatin1String(kSysInfoKey) && valueName == QLatin1String(kSysInfoValue)) {
        for (const char* name : {"hardinfo2", "kinfocenter", "cpu-x"}) {
            *value = QStandardPaths::findExecutable(QString::fromLatin1(name));
            if (!value->isEmpty())
                return true;
        }
        return false;
    }
    if (keyPath == QLatin1String(kSysInfoFolderKey) && valueName == QLatin1String(kSysInfoFolderValue)) {
        const QString program = QStandardPaths::findExecutable(sysInfoProgramName());
        if (!program.isEmpty())
            *value = QFileInfo(program).absolutePath();
        return !program.isEmpty();
    }
    return false;
}

} // namespace zol
