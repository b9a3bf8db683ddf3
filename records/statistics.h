// Group statistics of the stored tests, without any window: how many tests
// a group holds and the mean and sample standard deviation of each standard
// score, as the texts the statistics windows show.
#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QVariant>
#include <memory>

namespace zol {

class Database;

enum class StatsGroup { All, Men, Women };

// One statistic: the query that gives it under its alias, the cell that
// shows it, and how many characters of its text the cell shows.
struct StatStatement {
    QString alias;
    QString cell;
    int chars;
    QString sql;
};

// The statements of a group's window, in the order they run.
QList<StatStatement> statisticsStatements(StatsGroup group);

// The cell text of a value: its plain decimal text (up to 15 significant
// digits, no trailing zeros) cut to its first chars characters; empty for a
// statistic without a value.
QString statisticsText(const QVariant& value, int chars);

// zol.mdb opened for the statistics, with stdev() registered. A missing file
// is reported and not created; every failure is reported and gives nullptr.
std::unique_ptr<Database> openStatisticsDatabase();

// Cell name -> text for every statement of the group. A statement that
// fails is reported once and the remaining cells stay empty.
QMap<QString, QString> computeStatistics(StatsGroup group);

} // namespace zol
