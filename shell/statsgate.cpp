#include "shell/statsgate.h"
namespace zol {
QStringList statisticsCountQueries() { return {}; }
QString statisticsCountField(StatsGroup) { return {}; }
QString statisticsGateMessage(StatsGroup) { return {}; }
void runStatisticsCommand(StatsGroup) {}
void showStatisticsWindow(StatsGroup) {}
void setStatisticsWindowObserver(std::function<void(StatsGroup)>) {}
}
