// The statistics commands of the main window and their record-count gate.
//
// Each command counts the stored tests (all, men, women) and opens its
// statistics window only when its group holds at least MinStatsRecords
// tests; otherwise it shows its own message.
#pragma once

#include <functional>

namespace zol {

enum class StatsGroup { All, Men, Women };

// The smallest group for which a statistics window opens.
constexpr int MinStatsRecords = 2;

// The statistics command of a group: counts the rows of 用户信息 in zol.mdb,
// then shows the group's message (OK alone, no icon, the program's title)
// or the group's statistics window. When the file is missing or cannot be
// read, an error message naming zol.mdb is shown and nothing opens; a
// missing file is not created.
void runStatisticsCommand(StatsGroup group);

// Shows the group's statistics window (all: frmzol10, men: frmzol16,
// women: frmzol15), modeless.
//
// The statistics windows are not part of the program yet: this shows
// nothing and only tells the observer installed below.
void showStatisticsWindow(StatsGroup group);
void setStatisticsWindowObserver(std::function<void(StatsGroup)> observer);

} // namespace zol
