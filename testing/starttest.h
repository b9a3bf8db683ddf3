// The start-test command of the main window.
#pragma once

#include "platform/form.h"

#include <QList>

namespace zol {

// The report windows end a test too, but live in a library above this one;
// the program names them at start-up (in the order of their result windows).
void setTestReportWindows(const QList<LoadedWindow>& windows);

// Starts a test by showing the notice frmzol1. While a test's windows are
// still loaded, no second test is started over it: the test window on
// show is brought to the front, or, when all of them are hidden, the first
// of frmzol1, frmzol2 and frmzol20 that is loaded is shown as it was left.
void startTest();

} // namespace zol
