// Start-up: the splash window, the main window's load step and the timing.
#include "shellsupport.h"

#include "tests/support/scripteddialogs.h"
#include "platform/form.h"
#include "platform/twips.h"
#include "platform/buildinfo.h"
#include "shell/frmzolmaincs.h"
#include "shell/frmzolsplash.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QProgressBar>
#include <QTest>
#include <QTimer>
#include <memory>

using namespace zol;
using namespace shelltest;

using zoltest::flushDeletes;

namespace {
bool splashLoaded() { return DefaultForm<FrmzolsplashForm>::loaded(); }
bool mainVisible() { return mainLoaded() && frmzolmaincs().isVisible(); }
} // namespace

class StartupTest : public ShellTestBase {
    Q_OBJECT
private slots:
    void init() { startServices(); }
    void cleanup() { stopServices(); }

    void splashWindowAsDesigned()
    {
        FrmzolsplashForm& s = frmzolsplash();
        QCOMPARE(s.windowTitle(), QStringLiteral("                       进   度"));
        QCOMPARE(s.windowTitle().indexOf(QStringLiteral("进")), 23);
        QCOMPARE(s.size(), QSize(tw(5655), tw(3390)));
        QCOMPARE(s.ProgressBar1->geometry(), twRect(840, 1680, 4185, 135));
        QCOMPARE(s.ProgressBar1->minimum(), 0);
        QCOMPARE(s.ProgressBar1->maximum(), 200);
        QCOMPARE(s.ProgressBar1->value(), 0);
        QCOMPARE(s.Timer1->interval(), 10);
    }

    // The main window's load step runs to its end inside the splash
    // window's load step, before the splash timer starts and before the
    // splash window is seen.
    void mainWindowLoadsBeforeTheSplashTimerStarts()
    {
        bool splashTimerRan = true;
        bool splashSeen = true;
        music->onPlay = [&] {
            splashTimerRan = frmzolsplash().Timer1->isActive();
            splashSeen = frmzolsplash().isVisible();
        };
        frmzolsplash().Show();
        QCOMPARE(music->plays(), 1);
        QVERIFY(!splashTimerRan);
        QVERIFY(!splashSeen);
        QVERIFY(frmzolsplash().Timer1->isActive());
        QVERIFY(mainLoaded());
        QVERIFY(!frmzolmaincs().isVisible());
        QCOMPARE(loadedFormNames(),
                 (QStringList{QStringLiteral("frmzolsplash"), QStringLiteral("frmzolmaincs")}));

        // What the load step left behind.
        FrmzolmaincsForm& m = frmzolmaincs();
        QCOMPARE(m.Text1->text(), build::webPage());
        QVERIFY(!m.Timer1->isActive());
        QCOMPARE(m.Timer1->interval(), 1000);
        // The test's program folder holds no MIDI file.
        QCOMPARE(m.MidiCount, 0);
        QCOMPARE(music->commands, QStringList{QStringLiteral("play ")});
        QCOMPARE(links->calls,
                 (QStringList{QStringLiteral("help file ") + folder->file(QStringLiteral("morvu.html")),
                              QStringLiteral("banner ") + folder->file(QStringLiteral("gg.swf"))}));
    }

    // The bar advances by 2 a tick; the main window appears on the 101st.
    void mainWindowShownAfterAHundredTicks()
    {
        FrmzolsplashForm& s = frmzolsplash();
        s.Show();
        for (int tick = 1; tick <= 100; ++tick) {
            s.Timer1_Timer();
            QCOMPARE(s.ProgressBar1->value(), 2 * tick);
        }
        QVERIFY(splashLoaded());
        QVERIFY(!mainVisible());
        s.Timer1_Timer();
        QVERIFY(!splashLoaded());
        QVERIFY(mainVisible());
        QCOMPARE(music->plays(), 1);  // the main window was not loaded a second time
        QCOMPARE(loadedFormNames(), QStringList{QStringLiteral("frmzolmaincs")});
        flushDeletes();
    }

    void startUpTakesAboutASecond()
    {
        QElapsedTimer clock;
        clock.start();
        frmzolsplash().Show();
        QTRY_VERIFY_WITH_TIMEOUT(mainVisible(), 10000);
        QVERIFY2(clock.elapsed() >= 950, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(!splashLoaded());
        QCOMPARE(dialogs->count(), 0);
    }

    void closingTheSplashEarlyShowsTheMainWindowAtOnce()
    {
        FrmzolsplashForm& s = frmzolsplash();
        s.Show();
        for (int i = 0; i < 10; ++i)
            s.Timer1_Timer();
        QVERIFY(s.close());
        QVERIFY(!splashLoaded());
        QVERIFY(mainVisible());
        QCOMPARE(music->plays(), 1);
        flushDeletes();
        QTest::qWait(50);  // no timer of the splash window is left to act
        QVERIFY(mainVisible());
        QVERIFY(!splashLoaded());
    }

    // A start-up step that fails is given up and written to the log; the
    // others still run and the main window still appears.
    void aFailingStartUpStepDoesNotStopTheMainWindow_data()
    {
        QTest::addColumn<bool>("musicFails");
        QTest::addColumn<bool>("helpFails");
        QTest::newRow("music") << true << false;
        QTest::newRow("help file") << false << true;
        QTest::newRow("both") << true << true;
    }
    void aFailingStartUpStepDoesNotStopTheMainWindow()
    {
        QFETCH(bool, musicFails);
        QFETCH(bool, helpFails);
        music->throwOnPlay = musicFails;
        links->failOnHelpFile = helpFails;
        if (musicFails)
            QTest::ignoreMessage(QtWarningMsg, "zolmiv: start-up step \"background music\" failed: no MIDI device");
        if (helpFails)
            QTest::ignoreMessage(QtWarningMsg, "zolmiv: start-up step \"help file\" failed: help file");
        FrmzolsplashForm& s = frmzolsplash();
        s.Show();
        QVERIFY(mainLoaded());
        QVERIFY(frmzolsplash().Timer1->isActive());
        QVERIFY(links->calls.contains(QStringLiteral("banner ")
                                      + folder->file(QStringLiteral("gg.swf"))));
        for (int i = 0; i <= 100; ++i)
            s.Timer1_Timer();
        QVERIFY(mainVisible());
        QCOMPARE(dialogs->count(), 0);
        flushDeletes();
    }
};

ZOL_TEST(StartupTest)
#include "tst_startup.moc"
