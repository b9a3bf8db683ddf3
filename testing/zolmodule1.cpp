#include "testing/zolmodule1.h"

#include "platform/convert.h"

#include <limits>
#include <vector>

namespace zol {

QString gAge;
QString gSex;

qint16 gPRaw = 0;
qint16 gERaw = 0;
qint16 gNRaw = 0;
qint16 gLRaw = 0;

qint16 gPScore = 0;
qint16 gEScore = 0;
qint16 gNScore = 0;
qint16 gLScore = 0;

qint16 gPlotP = 0;
qint16 gPlotE = 0;
qint16 gPlotN = 0;
qint16 gPlotL = 0;

void clearStandardScores() { gPScore = gEScore = gNScore = gLScore = 0; }

void clearScores()
{
    gPRaw = gERaw = gNRaw = gLRaw = 0;
    clearStandardScores();
}

namespace {

// The upper end of an open top row ("20 and above").
constexpr int kAndAbove = std::numeric_limits<int>::max();

// Raw scores low to high inclusive give the standard score.
struct NormRow {
    int low;
    int high;
    int score;
};

using NormColumn = std::vector<NormRow>;

// The four columns of a norm table, in the published order N, E, P, L.
struct NormTable {
    NormColumn n;
    NormColumn e;
    NormColumn p;
    NormColumn l;
};

// The published norm tables, one per sex and age band. Raw 0 has no row in
// any of them, and a raw score above a column's last row has none either
// unless that row is open upwards. Rows above the questionnaire's maxima
// (P 23, E 21, N 24, L 20) serve typed-in raw scores.

// Men (男) aged 16 to under 20.
const NormTable kMale16 = {
    /* N */ {{1, 1, 25}, {2, 3, 30}, {4, 5, 35}, {6, 8, 40}, {9, 10, 45}, {11, 12, 50},
             {13, 15, 55}, {16, 17, 60}, {18, 19, 65}, {20, 22, 70}, {23, 24, 75}},
    /* E */ {{1, 2, 25}, {3, 4, 30}, {5, 6, 35}, {7, 8, 40}, {9, 10, 45}, {11, 12, 50},
             {13, 14, 55}, {15, 16, 60}, {17, 18, 65}, {19, 20, 70}, {21, 21, 75}},
    /* P */ {{1, 2, 40}, {3, 5, 45}, {6, 7, 50}, {8, 9, 55}, {10, 11, 60}, {12, 13, 65},
             {14, 16, 70}, {17, 18, 75}, {19, 20, 80}, {21, 22, 85}, {23, 23, 90}},
    /* L */ {{1, 1, 25}, {2, 4, 30}, {5, 6, 35}, {7, 8, 40}, {9, 10, 45}, {11, 12, 50},
             {13, 14, 55}, {15, 16, 60}, {17, 18, 65}, {19, 21, 70}},
};

// Men (男) aged 20 to under 30.
const NormTable kMale20 = {
    /* N */ {{1, 2, 25}, {3, 4, 30}, {5, 6, 35}, {7, 8, 40}, {9, 10, 45}, {11, 12, 50},
             {13, 14, 55}, {15, 16, 60}, {17, 18, 65}, {19, 20, 70}, {21, 22, 75}, {23, 24, 80}},
    /* E */ {{1, 2, 30}, {3, 4, 35}, {5, 6, 40}, {7, 9, 45}, {10, 11, 50}, {12, 13, 55},
             {14, 15, 60}, {16, 17, 65}, {18, 20, 70}, {21, 21, 75}},
    /* P */ {{1, 1, 35}, {2, 3, 40}, {4, 4, 45}, {5, 6, 50}, {7, 7, 55}, {8, 9, 60}, {10, 10, 65},
             {11, 11, 70}, {12, 13, 75}, {14, 14, 80}, {15, 16, 85}, {17, 17, 90}, {18, 18, 95},
             {19, 20, 100}, {21, 21, 105}, {22, 23, 110}},
    /* L */ {{1, 1, 20}, {2, 3, 25}, {4, 5, 30}, {6, 7, 35}, {8, 9, 40}, {10, 10, 45},
             {11, 12, 50}, {13, 14, 55}, {15, 16, 60}, {17, 17, 65}, {18, 19, 70}, {20, 21, 75}},
};

// Men (男) aged 30 to under 40.
const NormTable kMale30 = {
    /* N */ {{1, 1, 25}, {2, 3, 30}, {4, 5, 35}, {6, 8, 40}, {9, 10, 45}, {11, 12, 50},
             {13, 14, 55}, {15, 17, 60}, {18, 19, 65}, {20, 21, 70}, {22, 24, 75}},
    /* E */ {{1, 2, 30}, {3, 4, 35}, {5, 6, 40}, {7, 8, 45}, {9, 10, 50}, {11, 12, 55},
             {13, 14, 60}, {15, 16, 65}, {17, 18, 70}, {19, 20, 75}, {21, 21, 80}},
    /* P */ {{1, 1, 35}, {2, 2, 40}, {3, 4, 45}, {5, 6, 50}, {7, 7, 55}, {8, 9, 60}, {10, 11, 65},
             {12, 12, 70}, {13, 14, 75}, {15, 16, 80}, {17, 17, 85}, {18, 19, 90}, {20, 21, 95},
             {22, 22, 100}, {23, 23, 105}},
    /* L */ {{1, 1, 20}, {2, 3, 25}, {4, 5, 30}, {6, 7, 35}, {8, 8, 40}, {9, 10, 45},
             {11, 12, 50}, {13, 14, 55}, {15, 16, 60}, {17, 18, 65}, {19, 20, 70}, {21, 21, 75}},
};

// Men (男) aged 40 to under 50.
const NormTable kMale40 = {
    /* N */ {{1, 3, 35}, {4, 5, 40}, {6, 8, 45}, {9, 10, 50}, {11, 13, 55}, {14, 15, 60},
             {16, 18, 65}, {19, 21, 70}, {22, 23, 75}, {24, 24, 80}},
    /* E */ {{1, 3, 35}, {4, 5, 40}, {6, 8, 45}, {9, 10, 50}, {11, 12, 55}, {13, 15, 60},
             {16, 17, 65}, {18, 19, 70}, {20, 21, 75}},
    /* P */ {{1, 2, 35}, {3, 3, 40}, {4, 4, 45}, {5, 5, 50}, {6, 7, 55}, {8, 8, 60}, {9, 9, 65},
             {10, 10, 70}, {11, 12, 75}, {13, 13, 80}, {14, 14, 85}, {15, 16, 90}, {17, 17, 95},
             {18, 18, 100}, {19, 19, 105}, {20, 21, 110}, {22, 22, 115}, {23, 23, 120}},
    /* L */ {{1, 1, 15}, {2, 3, 20}, {4, 5, 25}, {6, 6, 30}, {7, 8, 35}, {9, 10, 40},
             {11, 12, 45}, {13, 13, 50}, {14, 15, 55}, {16, 17, 60}, {18, 19, 65}, {20, 21, 70}},
};

// Men (男) aged 50 to under 60.
const NormTable kMale50 = {
    /* N */ {{1, 1, 30}, {2, 3, 35}, {4, 6, 40}, {7, 9, 45}, {10, 11, 50}, {12, 14, 55},
             {15, 17, 60}, {18, 19, 65}, {20, 22, 70}, {23, 24, 75}},
    /* E */ {{1, 1, 30}, {2, 3, 35}, {4, 5, 40}, {6, 7, 45}, {8, 9, 50}, {10, 10, 55},
             {11, 12, 60}, {13, 14, 65}, {15, 16, 70}, {17, 18, 75}, {19, 20, 80}, {21, 21, 85}},
    /* P */ {{1, 1, 35}, {2, 3, 40}, {4, 4, 45}, {5, 6, 50}, {7, 8, 55}, {9, 9, 60}, {10, 11, 65},
             {12, 13, 70}, {14, 14, 75}, {15, 16, 80}, {17, 18, 85}, {19, 19, 90}, {20, 21, 95},
             {22, 22, 100}, {23, 23, 105}},
    /* L */ {{1, 1, 15}, {2, 3, 20}, {4, 4, 25}, {5, 6, 30}, {7, 8, 35}, {9, 10, 40},
             {11, 12, 45}, {13, 14, 50}, {15, 16, 55}, {17, 17, 60}, {18, 19, 65}, {20, 21, 70}},
};

// The tables for 60 and over leave some raw scores within the
// questionnaire's range without a score. The rows marked "filled" are ours,
// not published, and follow two rules:
// - a raw score with no row of its own takes the score of the nearest
//   published row above it (the row it would belong to if that row reached
//   one raw point lower); above the last row of a column, the last row's
//   score goes on, as the open top rows ("20 and above") of other tables do;
// - a row the published table lists without its score gets one step of 5
//   from its neighbour, the step between the rows of every table.

// Men (男) aged 60 and over. Filled: N raw 1 and E raw 11 (nearest row
// above), P raw 21-23 (the last row's 120 goes on).
const NormTable kMale60 = {
    /* N */ {{1, 1, 35}, // filled: as raw 2
             {2, 2, 35}, {3, 5, 40}, {6, 7, 45}, {8, 9, 50}, {10, 11, 55}, {12, 14, 60},
             {15, 16, 65}, {17, 18, 70}, {19, 21, 75}, {22, 24, 80}},
    /* E */ {{1, 3, 35}, {4, 5, 40}, {6, 8, 45}, {9, 10, 50},
             {11, 11, 55}, // filled: as raw 12
             {12, 12, 55}, {13, 15, 60}, {16, 17, 65}, {18, 19, 70}, {20, 21, 75}},
    /* P */ {{1, 1, 35}, {2, 2, 40}, {3, 3, 45}, {4, 4, 50}, {5, 5, 55}, {6, 6, 60}, {7, 8, 65},
             {9, 9, 70}, {10, 10, 75}, {11, 11, 80}, {12, 12, 85}, {13, 13, 90}, {14, 15, 95},
             {16, 16, 100}, {17, 17, 105}, {18, 18, 110}, {19, 19, 115}, {20, 20, 120},
             {21, 23, 120}}, // filled: the last row's score goes on
    // L raw 1 gives 0: that is the table's value, not a missing one.
    /* L */ {{1, 1, 0}, {2, 3, 5}, {4, 4, 10}, {5, 6, 15}, {7, 7, 20}, {8, 8, 25}, {9, 10, 30},
             {11, 11, 35}, {12, 12, 40}, {13, 14, 45}, {15, 15, 50}, {16, 16, 55}, {17, 18, 60},
             {19, 19, 65}, {20, 20, 70}, {21, 21, 75}},
};

// Women (女) aged 16 to under 20.
const NormTable kFemale16 = {
    /* N */ {{1, 1, 25}, {2, 3, 30}, {4, 5, 35}, {6, 8, 40}, {9, 10, 45}, {11, 13, 50},
             {14, 15, 55}, {16, 17, 60}, {18, 20, 65}, {21, 22, 70}, {23, 24, 75}},
    /* E */ {{1, 2, 30}, {3, 4, 35}, {5, 6, 40}, {7, 8, 45}, {9, 10, 50}, {11, 12, 55},
             {13, 14, 60}, {15, 16, 65}, {17, 18, 70}, {19, 20, 75}, {21, 21, 80}},
    /* P */ {{1, 1, 35}, {2, 2, 40}, {3, 3, 45}, {4, 5, 50}, {6, 6, 55}, {7, 7, 60}, {8, 9, 65},
             {10, 10, 70}, {11, 11, 75}, {12, 13, 80}, {14, 14, 85}, {15, 16, 90}, {17, 17, 95},
             {18, 18, 100}, {19, 20, 105}, {21, 21, 110}, {22, 22, 115}, {23, 23, 120}},
    /* L */ {{1, 1, 20}, {2, 3, 25}, {4, 5, 30}, {6, 7, 35}, {8, 9, 40}, {10, 11, 45},
             {12, 13, 50}, {14, 15, 55}, {16, 17, 60}, {18, 19, 65}, {20, kAndAbove, 70}},
};

// Women (女) aged 20 to under 30.
const NormTable kFemale20 = {
    /* N */ {{1, 2, 25}, {3, 4, 30}, {5, 7, 35}, {8, 9, 40}, {10, 11, 45}, {12, 13, 50},
             {14, 15, 55}, {16, 18, 60}, {19, 20, 65}, {21, 22, 70}, {23, 24, 75}},
    /* E */ {{1, 2, 35}, {3, 4, 40}, {5, 7, 45}, {8, 9, 50}, {10, 11, 55}, {12, 13, 60},
             {14, 16, 65}, {17, 18, 70}, {19, 20, 75}, {21, 21, 80}},
    /* P */ {{1, 2, 40}, {3, 3, 45}, {4, 5, 50}, {6, 6, 55}, {7, 8, 60}, {9, 9, 65}, {10, 11, 70},
             {12, 12, 75}, {13, 14, 80}, {15, 15, 85}, {16, 17, 90}, {18, 18, 95}, {19, 19, 100},
             {20, 21, 105}, {22, 22, 110}, {23, 23, 115}},
    /* L */ {{1, 1, 15}, {2, 2, 20}, {3, 4, 25}, {5, 6, 30}, {7, 8, 35}, {9, 10, 40},
             {11, 11, 45}, {12, 13, 50}, {14, 15, 55}, {16, 17, 60}, {18, 19, 65}, {20, 21, 70},
             {22, 22, 75}},
};

// Women (女) aged 30 to under 40.
const NormTable kFemale30 = {
    /* N */ {{1, 2, 30}, {3, 5, 35}, {6, 7, 40}, {8, 10, 45}, {11, 12, 50}, {13, 15, 55},
             {16, 17, 60}, {18, 20, 65}, {21, 22, 70}, {23, 24, 75}},
    /* E */ {{1, 2, 35}, {3, 5, 40}, {6, 7, 45}, {8, 9, 50}, {10, 11, 55}, {12, 14, 60},
             {15, 16, 65}, {17, 18, 70}, {19, 20, 75}, {21, 21, 80}},
    /* P */ {{1, 1, 40}, {2, 3, 45}, {4, 5, 50}, {6, 6, 55}, {7, 8, 60}, {9, 10, 65},
             {11, 11, 70}, {12, 13, 75}, {14, 15, 80}, {16, 16, 85}, {17, 18, 90}, {19, 20, 95},
             {21, 21, 100}, {22, 23, 105}},
    /* L */ {{1, 1, 15}, {2, 3, 20}, {4, 5, 25}, {6, 7, 30}, {8, 9, 35}, {10, 10, 40},
             {11, 12, 45}, {13, 14, 50}, {15, 16, 55}, {17, 18, 60}, {19, 20, 65}},
};

// Women (女) aged 40 to under 50.
const NormTable kFemale40 = {
    /* N */ {{1, 1, 30}, {2, 4, 35}, {5, 7, 40}, {8, 10, 45}, {11, 13, 50}, {14, 16, 55},
             {17, 18, 60}, {19, 21, 65}, {22, 24, 70}},
    /* E */ {{1, 2, 35}, {3, 4, 40}, {5, 6, 45}, {7, 9, 50}, {10, 11, 55}, {12, 13, 60},
             {14, 15, 65}, {16, 17, 70}, {18, 19, 75}, {20, 21, 80}},
    /* P */ {{1, 1, 40}, {2, 2, 45}, {3, 4, 50}, {5, 5, 55}, {6, 6, 60}, {7, 7, 65}, {8, 8, 70},
             {9, 10, 75}, {11, 11, 80}, {12, 12, 85}, {13, 13, 90}, {14, 14, 95}, {15, 16, 100},
             {17, 17, 105}, {18, 18, 110}, {19, 19, 115}, {20, kAndAbove, 120}},
    /* L */ {{1, 1, 5}, {2, 2, 10}, {3, 4, 15}, {5, 5, 20}, {6, 7, 25}, {8, 9, 30}, {10, 10, 35},
             {11, 12, 40}, {13, 13, 45}, {14, 15, 50}, {16, 17, 55}, {18, 18, 60}, {19, 22, 65}},
};

// Women (女) aged 50 to under 60.
const NormTable kFemale50 = {
    /* N */ {{1, 1, 30}, {2, 4, 35}, {5, 6, 40}, {7, 9, 45}, {10, 11, 50}, {12, 14, 55},
             {15, 17, 60}, {18, 19, 65}, {20, 22, 70}, {23, 24, 75}},
    /* E */ {{1, 1, 30}, {2, 3, 35}, {4, 5, 40}, {6, 7, 45}, {8, 9, 50}, {10, 11, 55},
             {12, 14, 60}, {15, 16, 65}, {17, 18, 70}, {19, 20, 75}, {21, 21, 80}},
    /* P */ {{1, 1, 40}, {2, 2, 45}, {3, 4, 50}, {5, 5, 55}, {6, 7, 60}, {8, 8, 65}, {9, 10, 70},
             {11, 11, 75}, {12, 13, 80}, {14, 14, 85}, {15, 15, 90}, {16, 17, 95}, {18, 18, 100},
             {19, 20, 105}, {21, 21, 110}, {22, 22, 115}, {23, 23, 120}},
    /* L */ {{1, 2, 20}, {3, 4, 25}, {5, 6, 30}, {7, 8, 35}, {9, 10, 40}, {11, 12, 45},
             {13, 14, 50}, {15, 16, 55}, {17, 18, 60}, {19, 20, 65}, {21, kAndAbove, 70}},
};

// Women (女) aged 60 and over. Filled: N raw 1 and E raw 10-11 (nearest row
// above). P raw 1, 2, 3, 6, 7 and 8 have rows of their own in the published
// table without scores: 6, 7 and 8 climb by 5 from 55 (raw 4-5) to the 75 of
// raw 9-10, and 1, 2 and 3 go down by 5 from 55, which gives the 40, 45 and
// 50 that the women's tables for 40-49 and 50-59 give these raw scores.
const NormTable kFemale60 = {
    // No row gives 65: the column goes from 60 straight to 70, as published.
    /* N */ {{1, 1, 30}, // filled: as raw 2
             {2, 2, 30}, {3, 4, 35}, {5, 7, 40}, {8, 9, 45}, {10, 12, 50}, {13, 14, 55},
             {15, 17, 60}, {18, 19, 70}, {20, 22, 75}, {23, 24, 80}},
    /* E */ {{1, 1, 30}, {2, 3, 35}, {4, 5, 40}, {6, 7, 45}, {8, 9, 50},
             {10, 11, 55}, // filled: as raw 12
             {12, 12, 55}, {13, 14, 60}, {15, 16, 65}, {17, 18, 70}, {19, 20, 75}, {21, 21, 80}},
    /* P */ {{1, 1, 40}, {2, 2, 45}, {3, 3, 50}, // filled: down by 5 from raw 4-5
             {4, 5, 55},
             {6, 6, 60}, {7, 7, 65}, {8, 8, 70}, // filled: up by 5 towards raw 9-10
             {9, 10, 75}, {11, 11, 80}, {12, 12, 85}, {13, 13, 90}, {14, 14, 95},
             {15, 16, 100}, {17, 17, 105}, {18, 18, 110}, {19, 19, 115}, {20, kAndAbove, 120}},
    /* L */ {{1, 1, 10}, {2, 3, 15}, {4, 5, 20}, {6, 7, 25}, {8, 9, 30}, {10, 10, 35},
             {11, 12, 40}, {13, 14, 45}, {15, 16, 50}, {17, 18, 55}, {19, 20, 60},
             {21, kAndAbove, 65}},
};

const NormTable& tableOf(NormGroup group)
{
    switch (group) {
    case NormGroup::Male16: return kMale16;
    case NormGroup::Male20: return kMale20;
    case NormGroup::Male30: return kMale30;
    case NormGroup::Male40: return kMale40;
    case NormGroup::Male50: return kMale50;
    case NormGroup::Male60: return kMale60;
    case NormGroup::Female16: return kFemale16;
    case NormGroup::Female20: return kFemale20;
    case NormGroup::Female30: return kFemale30;
    case NormGroup::Female40: return kFemale40;
    case NormGroup::Female50: return kFemale50;
    case NormGroup::Female60: return kFemale60;
    }
    return kMale16;
}

const NormColumn& columnOf(const NormTable& table, Scale scale)
{
    switch (scale) {
    case Scale::N: return table.n;
    case Scale::E: return table.e;
    case Scale::P: return table.p;
    case Scale::L: return table.l;
    }
    return table.n;
}

std::optional<int> lookUp(const NormColumn& column, int raw)
{
    for (const NormRow& row : column) {
        if (raw >= row.low && raw <= row.high)
            return row.score;
    }
    return std::nullopt;
}

void applyColumn(const NormColumn& column, qint16 raw, qint16& score)
{
    if (const auto s = lookUp(column, raw))
        score = static_cast<qint16>(*s);
}

void applyTable(const NormTable& table)
{
    applyColumn(table.n, gNRaw, gNScore);
    applyColumn(table.e, gERaw, gEScore);
    applyColumn(table.p, gPRaw, gPScore);
    applyColumn(table.l, gLRaw, gLScore);
}

} // namespace

std::optional<int> normScore(NormGroup group, Scale scale, int raw)
{
    return lookUp(columnOf(tableOf(group), scale), raw);
}

void NormMale16() { applyTable(kMale16); }
void NormMale20() { applyTable(kMale20); }
void NormMale30() { applyTable(kMale30); }
void NormMale40() { applyTable(kMale40); }
void NormMale50() { applyTable(kMale50); }
void NormMale60() { applyTable(kMale60); }
void NormFemale16() { applyTable(kFemale16); }
void NormFemale20() { applyTable(kFemale20); }
void NormFemale30() { applyTable(kFemale30); }
void NormFemale40() { applyTable(kFemale40); }
void NormFemale50() { applyTable(kFemale50); }
void NormFemale60() { applyTable(kFemale60); }

std::optional<NormGroup> normGroupOf(const QString& sex, const QString& age)
{
    constexpr double kNoLimit = std::numeric_limits<double>::infinity();
    struct Band {
        const char16_t* sex;
        double fromAge;   // inclusive
        double belowAge;  // exclusive
        NormGroup group;
    };
    static const Band bands[] = {
        {u"男", 16, 20, NormGroup::Male16},
        {u"男", 20, 30, NormGroup::Male20},
        {u"男", 30, 40, NormGroup::Male30},
        {u"男", 40, 50, NormGroup::Male40},
        {u"男", 50, 60, NormGroup::Male50},
        {u"男", 60, kNoLimit, NormGroup::Male60},
        {u"女", 16, 20, NormGroup::Female16},
        {u"女", 20, 30, NormGroup::Female20},
        {u"女", 30, 40, NormGroup::Female30},
        {u"女", 40, 50, NormGroup::Female40},
        {u"女", 50, 60, NormGroup::Female50},
        {u"女", 60, kNoLimit, NormGroup::Female60},
    };
    const double a = Val(age);
    // The bands do not overlap, so at most one holds.
    for (const Band& band : bands)
        if (sex == QStringView(band.sex) && a >= band.fromAge && a < band.belowAge)
            return band.group;
    return std::nullopt;
}

void ApplyNorms()
{
    const auto group = normGroupOf(gSex, gAge);
    if (!group)
        return;
    switch (*group) {
    case NormGroup::Male16: NormMale16(); break;
    case NormGroup::Male20: NormMale20(); break;
    case NormGroup::Male30: NormMale30(); break;
    case NormGroup::Male40: NormMale40(); break;
    case NormGroup::Male50: NormMale50(); break;
    case NormGroup::Male60: NormMale60(); break;
    case NormGroup::Female16: NormFemale16(); break;
    case NormGroup::Female20: NormFemale20(); break;
    case NormGroup::Female30: NormFemale30(); break;
    case NormGroup::Female40: NormFemale40(); break;
    case NormGroup::Female50: NormFemale50(); break;
    case NormGroup::Female60: NormFemale60(); break;
    }
}

} // namespace zol
