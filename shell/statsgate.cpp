#include "shell/statsgate.h"

#include "platform/database.h"
#include "platform/dialogs.h"
#include "records/statswindows.h"

namespace zol {

namespace {

int groupIndex(StatsGroup group) { return int(group); }

// The count field of each group, in the order every statistics command
// counts them.
const char* const kCountFields[] = {"mz1", "mnan1", "mnu1"};

QString statisticsCountField(StatsGroup group)
{
    return QString::fromLatin1(kCountFields[groupIndex(group)]);
}

// The group's count query: every row of its sex, a row without scores too.
QString statisticsCountQuery(StatsGroup group)
{
    return testRecordFigure(QStringLiteral("count(*)"), statisticsCountField(group),
                            groupCondition(group));
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
    for (const StatsGroup each : {StatsGroup::All, StatsGroup::Men, StatsGroup::Women}) {
        counts << db->OpenRecordset(statisticsCountQuery(each));
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
