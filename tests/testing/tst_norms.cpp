// The norm tables checked against the published tables, and the choice of
// table by the subject's sex and age.
#include "testwindows.h"

#include <QTest>
#include <map>
#include <set>

using namespace zol;
using namespace zoltest;

namespace {

// The published tables, copied as printed: each column a list of
// "raw → standard" rows, a raw range written low-high, an open top row as
// "low and above".
struct PublishedTable {
    const char* routineName;
    NormGroup group;
    void (*routine)();
    const char16_t* p;
    const char16_t* e;
    const char16_t* n;
    const char16_t* l;
};

const PublishedTable kPublished[] = {
    {"NormMale16", NormGroup::Male16, NormMale16,
     {u"1-2 → 40, 3-5 → 45, 6-7 → 50, 8-9 → 55, 10-11 → 60, 12-13 → 65, "
      u"14-16 → 70, 17-18 → 75, 19-20 → 80, 21-22 → 85, 23 → 90"},
     {u"1-2 → 25, 3-4 → 30, 5-6 → 35, 7-8 → 40, 9-10 → 45, 11-12 → 50, "
      u"13-14 → 55, 15-16 → 60, 17-18 → 65, 19-20 → 70, 21 → 75"},
     {u"1 → 25, 2-3 → 30, 4-5 → 35, 6-8 → 40, 9-10 → 45, 11-12 → 50, "
      u"13-15 → 55, 16-17 → 60, 18-19 → 65, 20-22 → 70, 23-24 → 75"},
     {u"1 → 25, 2-4 → 30, 5-6 → 35, 7-8 → 40, 9-10 → 45, 11-12 → 50, "
      u"13-14 → 55, 15-16 → 60, 17-18 → 65, 19-21 → 70"},
    },
    {"NormMale20", NormGroup::Male20, NormMale20,
     {u"1 → 35, 2-3 → 40, 4 → 45, 5-6 → 50, 7 → 55, 8-9 → 60, 10 → 65, 11 → 70, "
      u"12-13 → 75, 14 → 80, 15-16 → 85, 17 → 90, 18 → 95, 19-20 → 100, "
      u"21 → 105, 22-23 → 110"},
     {u"1-2 → 30, 3-4 → 35, 5-6 → 40, 7-9 → 45, 10-11 → 50, 12-13 → 55, "
      u"14-15 → 60, 16-17 → 65, 18-20 → 70, 21 → 75"},
     {u"1-2 → 25, 3-4 → 30, 5-6 → 35, 7-8 → 40, 9-10 → 45, 11-12 → 50, "
      u"13-14 → 55, 15-16 → 60, 17-18 → 65, 19-20 → 70, 21-22 → 75, 23-24 → 80"},
     {u"1 → 20, 2-3 → 25, 4-5 → 30, 6-7 → 35, 8-9 → 40, 10 → 45, 11-12 → 50, "
      u"13-14 → 55, 15-16 → 60, 17 → 65, 18-19 → 70, 20-21 → 75"},
    },
    {"NormMale30", NormGroup::Male30, NormMale30,
     {u"1 → 35, 2 → 40, 3-4 → 45, 5-6 → 50, 7 → 55, 8-9 → 60, 10-11 → 65, "
      u"12 → 70, 13-14 → 75, 15-16 → 80, 17 → 85, 18-19 → 90, 20-21 → 95, "
      u"22 → 100, 23 → 105"},
     {u"1-2 → 30, 3-4 → 35, 5-6 → 40, 7-8 → 45, 9-10 → 50, 11-12 → 55, "
      u"13-14 → 60, 15-16 → 65, 17-18 → 70, 19-20 → 75, 21 → 80"},
     {u"1 → 25, 2-3 → 30, 4-5 → 35, 6-8 → 40, 9-10 → 45, 11-12 → 50, "
      u"13-14 → 55, 15-17 → 60, 18-19 → 65, 20-21 → 70, 22-24 → 75"},
     {u"1 → 20, 2-3 → 25, 4-5 → 30, 6-7 → 35, 8 → 40, 9-10 → 45, 11-12 → 50, "
      u"13-14 → 55, 15-16 → 60, 17-18 → 65, 19-20 → 70, 21 → 75"},
    },
    {"NormMale40", NormGroup::Male40, NormMale40,
     {u"1-2 → 35, 3 → 40, 4 → 45, 5 → 50, 6-7 → 55, 8 → 60, 9 → 65, 10 → 70, "
      u"11-12 → 75, 13 → 80, 14 → 85, 15-16 → 90, 17 → 95, 18 → 100, 19 → 105, "
      u"20-21 → 110, 22 → 115, 23 → 120"},
     {u"1-3 → 35, 4-5 → 40, 6-8 → 45, 9-10 → 50, 11-12 → 55, 13-15 → 60, "
      u"16-17 → 65, 18-19 → 70, 20-21 → 75"},
     {u"1-3 → 35, 4-5 → 40, 6-8 → 45, 9-10 → 50, 11-13 → 55, 14-15 → 60, "
      u"16-18 → 65, 19-21 → 70, 22-23 → 75, 24 → 80"},
     {u"1 → 15, 2-3 → 20, 4-5 → 25, 6 → 30, 7-8 → 35, 9-10 → 40, 11-12 → 45, "
      u"13 → 50, 14-15 → 55, 16-17 → 60, 18-19 → 65, 20-21 → 70"},
    },
    {"NormMale50", NormGroup::Male50, NormMale50,
     {u"1 → 35, 2-3 → 40, 4 → 45, 5-6 → 50, 7-8 → 55, 9 → 60, 10-11 → 65, "
      u"12-13 → 70, 14 → 75, 15-16 → 80, 17-18 → 85, 19 → 90, 20-21 → 95, "
      u"22 → 100, 23 → 105"},
     {u"1 → 30, 2-3 → 35, 4-5 → 40, 6-7 → 45, 8-9 → 50, 10 → 55, 11-12 → 60, "
      u"13-14 → 65, 15-16 → 70, 17-18 → 75, 19-20 → 80, 21 → 85"},
     {u"1 → 30, 2-3 → 35, 4-6 → 40, 7-9 → 45, 10-11 → 50, 12-14 → 55, "
      u"15-17 → 60, 18-19 → 65, 20-22 → 70, 23-24 → 75"},
     {u"1 → 15, 2-3 → 20, 4 → 25, 5-6 → 30, 7-8 → 35, 9-10 → 40, 11-12 → 45, "
      u"13-14 → 50, 15-16 → 55, 17 → 60, 18-19 → 65, 20-21 → 70"},
    },
    {"NormMale60", NormGroup::Male60, NormMale60,
     {u"1 → 35, 2 → 40, 3 → 45, 4 → 50, 5 → 55, 6 → 60, 7-8 → 65, 9 → 70, "
      u"10 → 75, 11 → 80, 12 → 85, 13 → 90, 14-15 → 95, 16 → 100, 17 → 105, "
      u"18 → 110, 19 → 115, 20 → 120"},
     {u"1-3 → 35, 4-5 → 40, 6-8 → 45, 9-10 → 50, 12 → 55, 13-15 → 60, "
      u"16-17 → 65, 18-19 → 70, 20-21 → 75"},
     {u"2 → 35, 3-5 → 40, 6-7 → 45, 8-9 → 50, 10-11 → 55, 12-14 → 60, "
      u"15-16 → 65, 17-18 → 70, 19-21 → 75, 22-24 → 80"},
     {u"1 → 0, 2-3 → 5, 4 → 10, 5-6 → 15, 7 → 20, 8 → 25, 9-10 → 30, 11 → 35, "
      u"12 → 40, 13-14 → 45, 15 → 50, 16 → 55, 17-18 → 60, 19 → 65, 20 → 70, "
      u"21 → 75"},
    },
    {"NormFemale16", NormGroup::Female16, NormFemale16,
     {u"1 → 35, 2 → 40, 3 → 45, 4-5 → 50, 6 → 55, 7 → 60, 8-9 → 65, 10 → 70, "
      u"11 → 75, 12-13 → 80, 14 → 85, 15-16 → 90, 17 → 95, 18 → 100, "
      u"19-20 → 105, 21 → 110, 22 → 115, 23 → 120"},
     {u"1-2 → 30, 3-4 → 35, 5-6 → 40, 7-8 → 45, 9-10 → 50, 11-12 → 55, "
      u"13-14 → 60, 15-16 → 65, 17-18 → 70, 19-20 → 75, 21 → 80"},
     {u"1 → 25, 2-3 → 30, 4-5 → 35, 6-8 → 40, 9-10 → 45, 11-13 → 50, "
      u"14-15 → 55, 16-17 → 60, 18-20 → 65, 21-22 → 70, 23-24 → 75"},
     {u"1 → 20, 2-3 → 25, 4-5 → 30, 6-7 → 35, 8-9 → 40, 10-11 → 45, 12-13 → 50, "
      u"14-15 → 55, 16-17 → 60, 18-19 → 65, 20 and above → 70"},
    },
    {"NormFemale20", NormGroup::Female20, NormFemale20,
     {u"1-2 → 40, 3 → 45, 4-5 → 50, 6 → 55, 7-8 → 60, 9 → 65, 10-11 → 70, "
      u"12 → 75, 13-14 → 80, 15 → 85, 16-17 → 90, 18 → 95, 19 → 100, "
      u"20-21 → 105, 22 → 110, 23 → 115"},
     {u"1-2 → 35, 3-4 → 40, 5-7 → 45, 8-9 → 50, 10-11 → 55, 12-13 → 60, "
      u"14-16 → 65, 17-18 → 70, 19-20 → 75, 21 → 80"},
     {u"1-2 → 25, 3-4 → 30, 5-7 → 35, 8-9 → 40, 10-11 → 45, 12-13 → 50, "
      u"14-15 → 55, 16-18 → 60, 19-20 → 65, 21-22 → 70, 23-24 → 75"},
     {u"1 → 15, 2 → 20, 3-4 → 25, 5-6 → 30, 7-8 → 35, 9-10 → 40, 11 → 45, "
      u"12-13 → 50, 14-15 → 55, 16-17 → 60, 18-19 → 65, 20-21 → 70, 22 → 75"},
    },
    {"NormFemale30", NormGroup::Female30, NormFemale30,
     {u"1 → 40, 2-3 → 45, 4-5 → 50, 6 → 55, 7-8 → 60, 9-10 → 65, 11 → 70, "
      u"12-13 → 75, 14-15 → 80, 16 → 85, 17-18 → 90, 19-20 → 95, 21 → 100, "
      u"22-23 → 105"},
     {u"1-2 → 35, 3-5 → 40, 6-7 → 45, 8-9 → 50, 10-11 → 55, 12-14 → 60, "
      u"15-16 → 65, 17-18 → 70, 19-20 → 75, 21 → 80"},
     {u"1-2 → 30, 3-5 → 35, 6-7 → 40, 8-10 → 45, 11-12 → 50, 13-15 → 55, "
      u"16-17 → 60, 18-20 → 65, 21-22 → 70, 23-24 → 75"},
     {u"1 → 15, 2-3 → 20, 4-5 → 25, 6-7 → 30, 8-9 → 35, 10 → 40, 11-12 → 45, "
      u"13-14 → 50, 15-16 → 55, 17-18 → 60, 19-20 → 65"},
    },
    {"NormFemale40", NormGroup::Female40, NormFemale40,
     {u"1 → 40, 2 → 45, 3-4 → 50, 5 → 55, 6 → 60, 7 → 65, 8 → 70, 9-10 → 75, "
      u"11 → 80, 12 → 85, 13 → 90, 14 → 95, 15-16 → 100, 17 → 105, 18 → 110, "
      u"19 → 115, 20 and above → 120"},
     {u"1-2 → 35, 3-4 → 40, 5-6 → 45, 7-9 → 50, 10-11 → 55, 12-13 → 60, "
      u"14-15 → 65, 16-17 → 70, 18-19 → 75, 20-21 → 80"},
     {u"1 → 30, 2-4 → 35, 5-7 → 40, 8-10 → 45, 11-13 → 50, 14-16 → 55, "
      u"17-18 → 60, 19-21 → 65, 22-24 → 70"},
     {u"1 → 5, 2 → 10, 3-4 → 15, 5 → 20, 6-7 → 25, 8-9 → 30, 10 → 35, "
      u"11-12 → 40, 13 → 45, 14-15 → 50, 16-17 → 55, 18 → 60, 19-22 → 65"},
    },
    {"NormFemale50", NormGroup::Female50, NormFemale50,
     {u"1 → 40, 2 → 45, 3-4 → 50, 5 → 55, 6-7 → 60, 8 → 65, 9-10 → 70, 11 → 75, "
      u"12-13 → 80, 14 → 85, 15 → 90, 16-17 → 95, 18 → 100, 19-20 → 105, "
      u"21 → 110, 22 → 115, 23 → 120"},
     {u"1 → 30, 2-3 → 35, 4-5 → 40, 6-7 → 45, 8-9 → 50, 10-11 → 55, 12-14 → 60, "
      u"15-16 → 65, 17-18 → 70, 19-20 → 75, 21 → 80"},
     {u"1 → 30, 2-4 → 35, 5-6 → 40, 7-9 → 45, 10-11 → 50, 12-14 → 55, "
      u"15-17 → 60, 18-19 → 65, 20-22 → 70, 23-24 → 75"},
     {u"1-2 → 20, 3-4 → 25, 5-6 → 30, 7-8 → 35, 9-10 → 40, 11-12 → 45, "
      u"13-14 → 50, 15-16 → 55, 17-18 → 60, 19-20 → 65, 21 and above → 70"},
    },
    {"NormFemale60", NormGroup::Female60, NormFemale60,
     {u"4-5 → 55, 9-10 → 75, 11 → 80, 12 → 85, 13 → 90, 14 → 95, 15-16 → 100, "
      u"17 → 105, 18 → 110, 19 → 115, 20 and above → 120"},
     {u"1 → 30, 2-3 → 35, 4-5 → 40, 6-7 → 45, 8-9 → 50, 12 → 55, 13-14 → 60, "
      u"15-16 → 65, 17-18 → 70, 19-20 → 75, 21 → 80"},
     {u"2 → 30, 3-4 → 35, 5-7 → 40, 8-9 → 45, 10-12 → 50, 13-14 → 55, "
      u"15-17 → 60, 18-19 → 70, 20-22 → 75, 23-24 → 80"},
     {u"1 → 10, 2-3 → 15, 4-5 → 20, 6-7 → 25, 8-9 → 30, 10 → 35, 11-12 → 40, "
      u"13-14 → 45, 15-16 → 50, 17-18 → 55, 19-20 → 60, 21 and above → 65"},
    },
};

// Raw values the printed tables leave out, completed by the program; each
// must fall in a gap of the printed column.
struct Completion {
    NormGroup group;
    Scale scale;
    int low;
    int high;
    int score;
};

const Completion kCompletions[] = {
    {NormGroup::Male60, Scale::N, 1, 1, 35},
    {NormGroup::Male60, Scale::E, 11, 11, 55},
    {NormGroup::Male60, Scale::P, 21, 23, 120},
    {NormGroup::Female60, Scale::N, 1, 1, 30},
    {NormGroup::Female60, Scale::E, 10, 11, 55},
    {NormGroup::Female60, Scale::P, 1, 1, 40},
    {NormGroup::Female60, Scale::P, 2, 2, 45},
    {NormGroup::Female60, Scale::P, 3, 3, 50},
    {NormGroup::Female60, Scale::P, 6, 6, 60},
    {NormGroup::Female60, Scale::P, 7, 7, 65},
    {NormGroup::Female60, Scale::P, 8, 8, 70},
};

constexpr int kHighestRawChecked = 30;
constexpr qint16 kUntouched = -1;

// Standard score per raw value 0..kHighestRawChecked; no value where no row
// covers the raw value.
using ExpectedColumn = std::map<int, int>;

ExpectedColumn parseColumn(const QString& text)
{
    ExpectedColumn column;
    for (const QString& row : text.split(QStringLiteral(", "))) {
        const QStringList parts = row.split(QStringLiteral(" → "));
        if (parts.size() != 2)
            qFatal("bad row: %s", qPrintable(row));
        const int score = parts[1].toInt();
        QString range = parts[0];
        int low = 0;
        int high = 0;
        if (range.endsWith(QStringLiteral(" and above"))) {
            low = range.chopped(10).toInt();
            high = kHighestRawChecked;
        } else if (range.contains(QLatin1Char('-'))) {
            low = range.section(QLatin1Char('-'), 0, 0).toInt();
            high = range.section(QLatin1Char('-'), 1, 1).toInt();
        } else {
            low = high = range.toInt();
        }
        if (low < 1 || high < low)
            qFatal("bad range: %s", qPrintable(row));
        for (int raw = low; raw <= high; ++raw) {
            if (column.count(raw))
                qFatal("overlapping rows at raw %d", raw);
            column[raw] = score;
        }
    }
    return column;
}

ExpectedColumn expectedColumn(const PublishedTable& t, Scale scale)
{
    const char16_t* text = scale == Scale::P ? t.p : scale == Scale::E ? t.e
                         : scale == Scale::N ? t.n : t.l;
    ExpectedColumn column = parseColumn(QString::fromUtf16(text));
    for (const Completion& c : kCompletions) {
        if (c.group == t.group && c.scale == scale) {
            for (int raw = c.low; raw <= c.high; ++raw) {
                if (column.count(raw))
                    qFatal("completion over a printed row at raw %d", raw);
                column[raw] = c.score;
            }
        }
    }
    return column;
}

const char* scaleName(Scale s)
{
    return s == Scale::P ? "P" : s == Scale::E ? "E" : s == Scale::N ? "N" : "L";
}

qint16& rawOf(Scale s)
{
    return s == Scale::P ? gPRaw : s == Scale::E ? gERaw : s == Scale::N ? gNRaw : gLRaw;
}

qint16& scoreOf(Scale s)
{
    return s == Scale::P ? gPScore : s == Scale::E ? gEScore : s == Scale::N ? gNScore : gLScore;
}

const Scale kScales[] = {Scale::P, Scale::E, Scale::N, Scale::L};

void setScores(int value) { zoltest::setScores(value, value, value, value); }

// The four standard scores of a table for the same raw score on every scale.
QList<int> tableScores(NormGroup g, int raw)
{
    return {*normScore(g, Scale::P, raw), *normScore(g, Scale::E, raw), *normScore(g, Scale::N, raw),
            *normScore(g, Scale::L, raw)};
}

const int kGroupCount = 12;

} // namespace

class NormTablesTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        gAge.clear();
        gSex.clear();
        setRaw(0, 0, 0, 0);
        setScores(0);
    }

    // Every raw value 0..30 of every column, both through the lookup and
    // through the routine. The routine gets the raw value on one scale only
    // (the others at 0, which no row covers), so a column reading or writing
    // another scale's variables shows.
    void everyTableMatchesThePublishedOne()
    {
        for (const PublishedTable& t : kPublished) {
            for (Scale scale : kScales) {
                const ExpectedColumn expected = expectedColumn(t, scale);
                for (int raw = 0; raw <= kHighestRawChecked; ++raw) {
                    // kUntouched: no row covers the raw value.
                    const auto it = expected.find(raw);
                    const int want = it == expected.end() ? kUntouched : it->second;
                    const QByteArray where = QByteArray(t.routineName) + ' ' + scaleName(scale)
                                             + " raw " + QByteArray::number(raw);

                    QVERIFY2(normScore(t.group, scale, raw).value_or(kUntouched) == want,
                             where.constData());

                    setRaw(0, 0, 0, 0);
                    rawOf(scale) = qint16(raw);
                    setScores(kUntouched);
                    t.routine();
                    for (Scale other : kScales) {
                        const int got = scoreOf(other);
                        const int should = other == scale ? want : kUntouched;
                        QVERIFY2(got == should, (where + ": " + scaleName(other) + " is "
                                                 + QByteArray::number(got)).constData());
                    }
                }
            }
        }
    }

    // The choice of routine: raw 12 on every scale gives a different result
    // in each of the twelve tables, so the scores show which one ran.
    void applyNormsPicksTheTable_data()
    {
        QTest::addColumn<QString>("sex");
        QTest::addColumn<QString>("age");
        QTest::addColumn<int>("group");   // -1: no routine
        const int none = -1;
        auto row = [](const char* name, const QString& sex, const QString& age, int group) {
            QTest::newRow(name) << sex << age << group;
        };
        const QString m = QStringLiteral("男");
        const QString f = QStringLiteral("女");
        row("男 16", m, "16", int(NormGroup::Male16));
        row("男 19.5", m, "19.5", int(NormGroup::Male16));
        row("男 20", m, "20", int(NormGroup::Male20));
        row("男 blanks 30", m, "  30", int(NormGroup::Male30));
        row("男 30岁", m, QStringLiteral("30岁"), int(NormGroup::Male30));
        row("男 49.9", m, "49.9", int(NormGroup::Male40));
        row("男 50", m, "50", int(NormGroup::Male50));
        row("男 60", m, "60", int(NormGroup::Male60));
        row("男 85", m, "85", int(NormGroup::Male60));
        row("女 16", f, "16", int(NormGroup::Female16));
        row("女 25", f, "25", int(NormGroup::Female20));
        row("女 30岁", f, QStringLiteral("30岁"), int(NormGroup::Female30));
        row("女 40", f, "40", int(NormGroup::Female40));
        row("女 59.9", f, "59.9", int(NormGroup::Female50));
        row("女 60", f, "60", int(NormGroup::Female60));
        row("男 15", m, "15", none);
        row("女 15.9", f, "15.9", none);
        row("男 empty age", m, "", none);
        row("女 empty age", f, "", none);
        row("男 abc", m, "abc", none);
        row("男 negative", m, "-30", none);
        row("sex with trailing blank", QStringLiteral("男 "), "30", none);
        row("empty sex", "", "30", none);
        row("other sex text", "M", "30", none);
    }
    void applyNormsPicksTheTable()
    {
        QFETCH(QString, sex);
        QFETCH(QString, age);
        QFETCH(int, group);
        const int none = -1;
        gSex = sex;
        gAge = age;
        setRaw(12, 12, 12, 12);
        setScores(7);
        const QList<int> want = group >= 0 ? tableScores(NormGroup(group), 12) : QList<int>{7, 7, 7, 7};
        // The table the raw-score check consults is the one ApplyNorms runs.
        const auto chosen = normGroupOf(sex, age);
        QCOMPARE(chosen ? int(*chosen) : none, group);
        ApplyNorms();
        QCOMPARE(standardScores(), want);
        ApplyNorms();
        QCOMPARE(standardScores(), want);
        QCOMPARE(gAge, age);
        QCOMPARE(gSex, sex);
    }

    void raw12TellsTheTablesApart()
    {
        std::set<QList<int>> seen;
        for (int g = 0; g < kGroupCount; ++g)
            seen.insert(tableScores(NormGroup(g), 12));
        QCOMPARE(int(seen.size()), kGroupCount);
    }

    void applyNormsExamples()
    {
        gSex = QStringLiteral("男");
        gAge = QStringLiteral("17");
        setRaw(23, 21, 24, 20);
        ApplyNorms();
        QCOMPARE(standardScores(), (QList<int>{90, 75, 75, 70}));

        gSex = QStringLiteral("女");
        gAge = QStringLiteral("45");
        ApplyNorms();
        QCOMPARE(standardScores(), (QList<int>{120, 80, 70, 65}));

        gAge = QStringLiteral("65");
        setRaw(3, 1, 0, 6);   // N 0 keeps the 70 from before
        ApplyNorms();
        QCOMPARE(standardScores(), (QList<int>{50, 30, 70, 25}));

        gSex = QStringLiteral("男");
        gAge = QStringLiteral("25");
        setRaw(12, 18, 24, 5);
        ApplyNorms();
        QCOMPARE(standardScores(), (QList<int>{75, 70, 80, 30}));
    }
};

ZOL_TEST(NormTablesTest)
#include "tst_norms.moc"
