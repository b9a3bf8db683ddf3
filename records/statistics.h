// Group statistics of the stored tests, without any window: how many tests
// a group holds and the mean and sample standard deviation of each standard
// score, as the texts the statistics windows show.
#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QVariant>
#include <memory>

class QLabel;

namespace zol {

class Database;

enum class StatsGroup { All, Men, Women };

// The value cells of a statistics window, under their names in the layouts.
struct StatisticsCells {
    QLabel* Label3 = nullptr;   // number of tests
    QLabel* Label6 = nullptr;   // number of men's tests
    QLabel* Label9 = nullptr;   // number of women's tests
    QLabel* Label17 = nullptr;  // mean / deviation of P
    QLabel* Label18 = nullptr;
    QLabel* Label19 = nullptr;  // of E
    QLabel* Label20 = nullptr;
    QLabel* Label21 = nullptr;  // of N
    QLabel* Label22 = nullptr;
    QLabel* Label23 = nullptr;  // of L
    QLabel* Label24 = nullptr;
};

// One statistic: the query that gives it under its alias, the cell that
// shows it (its name, and the member a window holds it in), and how many
// characters of its text the cell shows.
struct StatStatement {
    QString alias;
    QString cell;
    QLabel* StatisticsCells::*label;
    int chars;
    QString sql;
};

// The rows of the group as the statements select them: " where 性别='男'",
// " where 性别='女'", or nothing for all tests.
QString groupCondition(StatsGroup group);

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
