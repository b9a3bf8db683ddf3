#include "platform/datanotices.h"

#include <QFileInfo>

namespace zol {

DatabaseNotices& DatabaseNotices::instance()
{
    static DatabaseNotices notices;
    return notices;
}

void announceDatabaseReplaced(const QString& path)
{
    emit DatabaseNotices::instance().replaced(QFileInfo(path).absoluteFilePath());
}

} // namespace zol
