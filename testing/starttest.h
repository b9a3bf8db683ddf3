// The start-test command of the main window.
#pragma once

#include <QStringList>

namespace zol {

// The windows of one test, from the notice to the result windows.
QStringList testWindowNames();

// Starts a test by showing the notice frmzol1. While a test's windows are
// still loaded, no second test is started over it: the test window on
// show is brought to the front, or, when all of them are hidden, the first
// of frmzol1, frmzol2 and frmzol20 that is loaded is shown as it was left.
void startTest();

} // namespace zol
