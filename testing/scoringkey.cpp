#include "testing/scoringkey.h"

namespace zol {

QString answerYes() { return QStringLiteral("是"); }
QString answerNo() { return QStringLiteral("否"); }

const std::vector<ScaleKey>& ScoringKey()
{
    static const std::vector<ScaleKey> key = {
        {Scale::E,
         {1, 5, 10, 13, 14, 17, 25, 33, 37, 41, 49, 53, 55, 61, 65, 71, 80, 84},
         {21, 29, 45}},
        {Scale::N,
         {3, 7, 12, 15, 19, 23, 27, 31, 35, 39, 43, 47, 51, 57, 59, 63, 67, 69, 73, 74, 77, 78,
          82, 86},
         {}},
        {Scale::P,
         {22, 26, 30, 34, 46, 50, 66, 68, 75, 76, 81, 85},
         {2, 6, 9, 11, 18, 38, 42, 56, 62, 72, 88}},
        {Scale::L,
         {20, 32, 36, 58, 87},
         {4, 8, 16, 24, 28, 40, 44, 48, 52, 54, 60, 64, 70, 79, 83}},
    };
    return key;
}

ItemKey itemKey(int item)
{
    // The key turned round once: item number -> scale and keyed answer.
    static const std::array<ItemKey, kItemCount + 1> byItem = [] {
        std::array<ItemKey, kItemCount + 1> table{};
        for (const ScaleKey& s : ScoringKey()) {
            for (int n : s.keyedYes)
                table[n] = {s.scale, answerYes()};
            for (int n : s.keyedNo)
                table[n] = {s.scale, answerNo()};
        }
        return table;
    }();
    if (item < 1 || item > kItemCount)
        return {Scale::P, QString()};
    return byItem[item];
}

RawScores scoreAnswers(const std::array<QString, kItemCount + 1>& answers)
{
    RawScores raw;
    for (int item = 1; item <= kItemCount; ++item) {
        const ItemKey key = itemKey(item);
        if (answers[item] != key.keyed)
            continue;
        switch (key.scale) {
        case Scale::P: ++raw.p; break;
        case Scale::E: ++raw.e; break;
        case Scale::N: ++raw.n; break;
        case Scale::L: ++raw.l; break;
        }
    }
    return raw;
}

} // namespace zol
