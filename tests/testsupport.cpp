#include "testsupport.h"

#include "platform/paths.h"

#include <QDir>

namespace zoltest {

std::vector<Factory>& registry()
{
    static std::vector<Factory> r;
    return r;
}

TempProgramFolder::TempProgramFolder()
{
    zol::setProgramFolder(dir_.path());
}

TempProgramFolder::~TempProgramFolder()
{
    zol::setProgramFolder(QString());
}

QString TempProgramFolder::file(const QString& name) const
{
    return QDir(dir_.path()).filePath(name);
}

} // namespace zoltest
