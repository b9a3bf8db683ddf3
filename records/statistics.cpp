#include "records/statistics.h"

#include "platform/database.h"
#include "platform/dialogs.h"
#include "records/sqlitefunctions.h"

#include <QDir>
#include <QFileInfo>

namespace zol {

namespace {

// Which rows a statement covers.
enum class Rows { All, Men, Women, Group };

struct Line {
    const char* alias;
    const char* cell;
    QLabel* StatisticsCells::*label;
    int chars;
    const char16_t* expression;
    Rows rows;
};

// A cell's name and the member that holds it, from one spelling.
#define CELL(name) #name, &StatisticsCells::name

// The order is the windows' own: counts, then the means with E before P,
// then the deviations with E before P. The letter case of the column names
// is as the statements have always been written; SQLite ignores it.
const Line kLines[] = {
    {"mz1", CELL(Label3), 5, u"count(*)", Rows::All},
    {"mnan1", CELL(Label6), 5, u"count(标准分E)", Rows::Men},
    {"mnu1", CELL(Label9), 5, u"count(标准分E)", Rows::Women},
    {"e1", CELL(Label19), 5, u"AVG(标准分E)", Rows::Group},
    {"p1", CELL(Label17), 5, u"AVG(标准分p)", Rows::Group},
    {"n1", CELL(Label21), 5, u"AVG(标准分n)", Rows::Group},
    {"L1", CELL(Label23), 5, u"AVG(标准分l)", Rows::Group},
    {"es1", CELL(Label20), 6, u"stdev(标准分E)", Rows::Group},
    {"ps1", CELL(Label18), 6, u"stdev(标准分P)", Rows::Group},
    {"ns1", CELL(Label22), 6, u"stdev(标准分n)", Rows::Group},
    {"ls1", CELL(Label24), 6, u"stdev(标准分l)", Rows::Group},
};

#undef CELL

QString whereOf(Rows rows)
{
    switch (rows) {
    case Rows::Men:
        return groupCondition(StatsGroup::Men);
    case Rows::Women:
        return groupCondition(StatsGroup::Women);
    default:
        return QString();
    }
}

} // namespace

QString groupCondition(StatsGroup group)
{
    switch (group) {
    case StatsGroup::Men:
        return QStringLiteral(" where 性别='男'");
    case StatsGroup::Women:
        return QStringLiteral(" where 性别='女'");
    case StatsGroup::All:
        break;
    }
    return QString();
}

QList<StatStatement> statisticsStatements(StatsGroup group)
{
    const Rows groupRows =
        group == StatsGroup::All ? Rows::All : group == StatsGroup::Men ? Rows::Men : Rows::Women;
    QList<StatStatement> list;
    for (const Line& line : kLines) {
        // The count lines belong to the windows of their own rows; the
        // all-tests window shows all three.
        if (line.rows != Rows::Group && group != StatsGroup::All && line.rows != groupRows)
            continue;
        QString expression = QString::fromUtf16(line.expression);
        // The women's window counts every woman's row, also one without an
        // E score; its print shows the same count.
        if (group == StatsGroup::Women && line.rows == Rows::Women)
            expression = QStringLiteral("count(*)");
        const Rows rows = line.rows == Rows::Group ? groupRows : line.rows;
        const QString alias = QString::fromLatin1(line.alias);
        list << StatStatement{alias, QString::fromLatin1(line.cell), line.label, line.chars,
                              testRecordFigure(expression, alias, whereOf(rows))};
    }
    return list;
}

QString statisticsText(const QVariant& value, int chars)
{
    if (!value.isValid() || value.isNull())
        return QString();
    QString text;
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        text = QString::number(value.toDouble(), 'g', 15);
        break;
    default:
        text = value.toString();
        break;
    }
    return text.left(chars);
}

std::unique_ptr<Database> openStatisticsDatabase()
{
    const QString path = databasePath();
    // Counting must not leave an empty database behind where there was none.
    if (!QFileInfo(path).isFile()) {
        ErrorBox(QStringLiteral("找不到数据库文件 %1，无法进行统计分析。")
                     .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath())));
        return nullptr;
    }
    std::unique_ptr<Database> db = Database::OpenDatabase(path);
    if (db && !registerStdev(db->connection())) {
        ErrorBox(QStringLiteral("无法在数据库文件 %1 上计算标准差，统计分析没有进行。")
                     .arg(QDir::toNativeSeparators(path)));
        db.reset();
    }
    return db;
}

QMap<QString, QString> computeStatistics(StatsGroup group)
{
    QMap<QString, QString> cells;
    std::unique_ptr<Database> db = openStatisticsDatabase();
    if (!db)
        return cells;
    for (const StatStatement& s : statisticsStatements(group)) {
        const Recordset rs = db->OpenRecordset(s.sql);
        if (!rs.isValid())
            break;  // reported; one message is enough
        cells.insert(s.cell, statisticsText(rs.Fields(s.alias), s.chars));
    }
    return cells;
}

} // namespace zol
