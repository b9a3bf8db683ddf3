#include "shell/statsgate.h"

#include "platform/database.h"
#include "platform/dialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace zol {

namespace {
std::function<void(StatsGroup)>& observer()
{
    static std::function<void(StatsGroup)> o;
    return o;
}

int groupIndex(StatsGroup group) { return int(group); }

// The three count queries, in the order every statistics command runs them.
QStringList statisticsCountQueries()
{
    return {QStringLiteral("SELECT count(*) AS [mz1] FROM 用户信息;"),
            QStringLiteral("SELECT count(*) AS [mnan1] FROM 用户信息 where 性别='男';"),
            QStringLiteral("SELECT count(*) AS [mnu1] FROM 用户信息 where 性别='女';")};
}

// The count field of the group.
QString statisticsCountField(StatsGroup group)
{
    static const char* const fields[] = {"mz1", "mnan1", "mnu1"};
    return QString::fromLatin1(fields[groupIndex(group)]);
}

// The group's message when it holds fewer than MinStatsRecords tests.
QString statisticsGateMessage(StatsGroup group)
{
    switch (group) {
    case StatsGroup::All:
        return QStringLiteral("数据库中的记录总数必须多于2人才能进行统计分析!");
    case StatsGroup::Men:
        return QStringLiteral("数据库中的男性记录必须多于2人才能进行统计分析!");
    case StatsGroup::Women:
        break;
    }
    return QStringLiteral("数据库中的女性记录必须多于2人才能进行统计分析!");
}

} // namespace

void runStatisticsCommand(StatsGroup group)
{
    const QString path = databasePath();
    // Counting must not leave an empty database behind where there was none.
    if (!QFileInfo(path).isFile()) {
        ErrorBox(QStringLiteral("找不到数据库文件 %1，无法进行统计分析。")
                     .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath())));
        return;
    }
    std::unique_ptr<Database> db = Database::OpenDatabase(path);
    if (!db)
        return;  // reported
    QList<Recordset> counts;
    for (const QString& sql : statisticsCountQueries()) {
        counts << db->OpenRecordset(sql);
        if (!counts.last().isValid())
            return;  // reported
    }
    const QVariant count = counts.at(groupIndex(group)).Fields(statisticsCountField(group));
    if (count.toLongLong() < MinStatsRecords) {
        MsgBox(statisticsGateMessage(group));
        return;
    }
    showStatisticsWindow(group);
}

void showStatisticsWindow(StatsGroup group)
{
    if (observer())
        observer()(group);
}

void setStatisticsWindowObserver(std::function<void(StatsGroup)> o) { observer() = std::move(o); }

} // namespace zol
