#include "platform/dialogs.h"
#include "platform/fonts.h"
#include "platform/buildinfo.h"
#include "reports/reportwindows.h"
#include "shell/frmzolsplash.h"
#include "shell/programend.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    zol::installFonts();
    zol::setProgramTitle(zol::build::programTitle());
    zol::installResultReports();

    frmzolsplash().Show();

    // From here on the program ends with its last visible window; windows
    // that are loaded but hidden do not keep it running.
    QApplication::setQuitOnLastWindowClosed(false);
    zol::LastWindowWatcher lastWindow([] { QCoreApplication::exit(0); });
    return app.exec();
}
