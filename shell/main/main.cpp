#include "platform/buildinfo.h"
#include "platform/dialogs.h"
#include "platform/fonts.h"
#include "platform/links.h"
#include "platform/media.h"
#include "platform/music.h"
#include "platform/partfiles.h"
#include "platform/paths.h"
#include "reports/reportwindows.h"
#include "shell/frmzolsplash.h"
#include "shell/programend.h"

#include <QApplication>
#include <QFontMetrics>
#include <malloc.h>
#include <thread>

int main(int argc, char** argv)
{
    // One heap for every thread: the music's threads would otherwise each
    // get a heap of their own, whose free room is kept rather than given
    // back, and a playing piece would cost a good part more memory.
    mallopt(M_ARENA_MAX, 1);
    QApplication app(argc, argv);
    zol::installFonts();
    zol::installQtChinese();
    zol::setProgramTitle(zol::build::programTitle());
    zol::installResultReports();
    zol::removeLeftoverFiles(zol::programFolder());   // of copies killed while writing

    // Reading the system's font list takes a few milliseconds, and the first
    // text box of the main window needs it. It is read beside the building
    // of the first windows rather than before the splash window can appear.
    std::thread fontList([] { QFontMetrics(QApplication::font()).horizontalAdvance(QChar(0x4E2D)); });

    // The outside world: the media players and the synthesizer (made by
    // media, which therefore outlives music), the browser, the mail program
    // and the editor, and F1 in every window.
    zol::ModuleMedia media;
    zol::setMedia(&media);
    // The synthesizer loads once the splash window has been drawn.
    zol::BackgroundMusic music(zol::BackgroundMusic::LoadWhenAsked);
    zol::setMusic(&music);
    zol::DesktopLinks links;
    zol::setLinks(&links);
    zol::installHelpKey();

    frmzolsplash();
    fontList.join();
    frmzolsplash().Show();

    // From here on the program ends with its last visible window; windows
    // that are loaded but hidden do not keep it running.
    QApplication::setQuitOnLastWindowClosed(false);
    zol::LastWindowWatcher lastWindow([] { QCoreApplication::exit(0); });
    return app.exec();
}
