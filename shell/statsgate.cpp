#include "shell/statsgate.h"

#include "platform/database.h"
#include "platform/dialogs.h"
#include "records/statswindows.h"

#include <QStringList>

namespace zol {

namespace {

int groupIndex(StatsGroup group) { return int(group); }

// The three count queries, in the order every statistics command runs them.
QStringList statisticsCountQueries()
{
    const QString count = QStringLiteral("count(*)");
    return {recordCountStatement(),
            testRecordFigure(count, QStringLiteral("mnan1"), groupCondition(StatsGroup::Men)),
            testRecordFigure(count, QStringLiteral("mnu1"), groupCondition(StatsGroup::Women))};
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
    std::unique_ptr<Database> db = openStatisticsDatabase();
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
    db.reset();
    showStatisticsWindow(group);
}

void showStatisticsWindow(StatsGroup group)
{
    switch (group) {
    case StatsGroup::All:
        frmzol10().Show();
        break;
    case StatsGroup::Men:
        frmzol16().Show();
        break;
    case StatsGroup::Women:
        frmzol15().Show();
        break;
    }
}

} // namespace zol
