// The statistics commands of the main window and their record-count gate.
//
// Each command counts the stored tests (all, men, women) and opens its
// statistics window only when its group holds at least MinStatsRecords
// tests; otherwise it shows its own message.
#pragma once

#include "records/statistics.h"

namespace zol {

// The smallest group for which a statistics window opens.
constexpr int MinStatsRecords = 2;

// The statistics command of a group: counts the rows of 用户信息 in zol.mdb,
// then shows the group's message (OK alone, no icon, the program's title)
// or the group's statistics window. When the file is missing or cannot be
// read, an error message naming zol.mdb is shown and nothing opens; a
// missing file is not created.
void runStatisticsCommand(StatsGroup group);

// Shows the group's statistics window (all: frmzol10, men: frmzol16,
// women: frmzol15), modeless. A window already loaded is shown again as it
// is; a new one computes its statistics as it loads.
void showStatisticsWindow(StatsGroup group);

} // namespace zol
