// The scoring key of the 88 items: each item belongs to one scale and scores
// one point on it when the answer given equals the item's keyed answer.
#pragma once

#include "testing/zolmodule1.h"

#include <QString>
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

} // namespace zol
