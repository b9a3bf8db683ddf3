// The scoring key of the 88 items: each item belongs to one scale and scores
// one point on it when the answer given equals the item's keyed answer.
#pragma once

#include "testing/zolmodule1.h"

#include <QString>
#include <array>
#include <vector>

namespace zol {

constexpr int kItemCount = 88;

// The two answers an item can receive.
QString answerYes();   // "是"
QString answerNo();    // "否"

// One scale's part of the key: the items keyed 是 and the items keyed 否.
struct ScaleKey {
    Scale scale;
    std::vector<int> keyedYes;
    std::vector<int> keyedNo;
};

// The key, scale by scale, in the order E, N, P, L.
const std::vector<ScaleKey>& ScoringKey();

// One item's place in the key.
struct ItemKey {
    Scale scale;
    QString keyed;   // "是" or "否"
};

// The key of item n, 1 <= n <= 88.
ItemKey itemKey(int item);

// Raw scores of one set of answers (answers[n] is item n's answer, "" when
// not answered): one point on an item's scale for an answer equal to its
// keyed answer.
struct RawScores {
    int p = 0;
    int e = 0;
    int n = 0;
    int l = 0;
};
RawScores scoreAnswers(const std::array<QString, kItemCount + 1>& answers);

} // namespace zol
