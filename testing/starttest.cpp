#include "testing/starttest.h"

#include "testing/frmzol1.h"
#include "testing/frmzol2.h"
#include "testing/frmzol20.h"
#include "testing/questionnaire.h"
#include "testing/rawscores.h"
#include "testing/resultwindow.h"

namespace zol {

namespace {

QList<LoadedWindow>& reportWindows()
{
    static QList<LoadedWindow> list;
    return list;
}

// The windows of one test, from the notice to the report windows.
QList<LoadedWindow> testWindows()
{
    return QList<LoadedWindow>{loadedWindow<Frmzol1Form>,   loadedWindow<Frmzol2Form>,
                               loadedWindow<Frmzol20Form>,  loadedWindow<Frmzol3Form>,
                               loadedWindow<Frmzol23Form>,  loadedWindow<Frmzol19Form>,
                               loadedWindow<Frmzol22Form>,  loadedWindow<Frmzol4Form>,
                               loadedWindow<Frmzol401Form>, loadedWindow<Frmzol21Form>,
                               loadedWindow<Frmzol211Form>}
           + reportWindows();
}

} // namespace

void setTestReportWindows(const QList<LoadedWindow>& windows) { reportWindows() = windows; }

void startTest()
{
    Form* onShow = nullptr;
    for (const LoadedWindow window : testWindows()) {
        Form* f = window();
        if (!f || !f->isVisible())
            continue;
        // A window shown modally is the one that takes input; otherwise the
        // latest step of the test.
        if (!onShow || !onShow->isShownModally())
            onShow = f;
    }
    if (!onShow) {
        for (const LoadedWindow window :
             {loadedWindow<Frmzol1Form>, loadedWindow<Frmzol2Form>, loadedWindow<Frmzol20Form>}) {
            if ((onShow = window()))
                break;
        }
    }
    if (onShow) {
        onShow->Show();
        return;
    }
    frmzol1().Show();
}

} // namespace zol
