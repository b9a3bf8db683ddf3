// The ways out of the program: exit button, exit menu and close box.
#include "shellsupport.h"

#include "tests/support/scripteddialogs.h"
#include "platform/form.h"
#include "shell/frmzolmaincs.h"
#include "shell/programend.h"

#include <QAction>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

using namespace zol;
using namespace shelltest;
using zoltest::flushDeletes;

namespace {

// Any other window of the program, such as a test window or an About box.
class OtherForm : public Form {
public:
    OtherForm() : Form(QStringLiteral("other")) { setClientSize(3000, 2000); }

protected:
    void Form_Unload() override { ++unloads; }

public:
    static inline int unloads = 0;
};
OtherForm& other() { return DefaultForm<OtherForm>::get(); }

} // namespace

class ExitPathsTest : public ShellTestBase {
    Q_OBJECT
private:
    std::unique_ptr<EndRecorder> end;

private slots:
    void init()
    {
        startServices();
        // One piece in the program folder: the load step starts it.
        QVERIFY(zoltest::writeFile(folder->file(QStringLiteral("a.mid")), "MThd"));
        tune = folder->file(QStringLiteral("a.mid"));
        OtherForm::unloads = 0;
        end = std::make_unique<EndRecorder>();
        frmzolmaincs().Show();
        other().Show();
        QCOMPARE(music->commands, QStringList{QStringLiteral("play ") + tune});
        music->commands.clear();
    }
    void cleanup()
    {
        end.reset();
        stopServices();
    }

    // Exit button: one close of the tune, then the end; no unload step runs.
    void exitButton()
    {
        QTest::mouseClick(frmzolmaincs().Command6, Qt::LeftButton);
        QCOMPARE(music->commands, QStringList{QStringLiteral("close ") + tune});
        QCOMPARE(end->ends, 1);
        QVERIFY(mainLoaded());
        QCOMPARE(OtherForm::unloads, 0);
        QCOMPARE(dialogs->count(), 0);
    }

    // Exit menu: the timer stops, the tune is closed, the main window is
    // unloaded (closing the tune once more), then the end.
    void exitMenu()
    {
        FrmzolmaincsForm& m = frmzolmaincs();
        m.Timer1->start();
        QTimer* timer = m.Timer1;  // alive until the deferred deletion
        m.mnuexit->trigger();
        QVERIFY(!timer->isActive());
        QCOMPARE(music->commands, QStringList(2, QStringLiteral("close ") + tune));
        QVERIFY(!mainLoaded());
        QCOMPARE(end->ends, 1);
        QCOMPARE(OtherForm::unloads, 0);
        QCOMPARE(loadedFormNames(), QStringList{QStringLiteral("other")});
        flushDeletes();
    }

    // The close box closes the tune and unloads the main window, nothing
    // else; the program runs on while another window is visible.
    void closeBox()
    {
        LastWindowWatcher watcher([this] { ++quits; });
        quits = 0;
        QVERIFY(frmzolmaincs().close());
        QCOMPARE(music->commands, QStringList{QStringLiteral("close ") + tune});
        QVERIFY(!mainLoaded());
        QCOMPARE(end->ends, 0);
        QTest::qWait(20);
        QCOMPARE(quits, 0);
        QVERIFY(other().isVisible());

        // The last visible window goes by code: the program ends.
        other().Unload();
        QTRY_COMPARE(quits, 1);
        QCOMPARE(end->ends, 0);
        flushDeletes();
    }

    // Loaded but hidden windows do not keep the program running once the
    // main window is closed.
    void closeBoxWithOnlyHiddenWindowsLeft()
    {
        LastWindowWatcher watcher([this] { ++quits; });
        quits = 0;
        other().Hide();
        QTest::qWait(20);
        QCOMPARE(quits, 0);  // the main window is still visible
        QVERIFY(frmzolmaincs().close());
        QTRY_COMPARE(quits, 1);
        QVERIFY(DefaultForm<OtherForm>::loaded());
        QCOMPARE(music->commands, QStringList{QStringLiteral("close ") + tune});
        flushDeletes();
    }

    // A window that hides itself and shows another in the same handler does
    // not end the program.
    void handingOverBetweenWindowsDoesNotEnd()
    {
        LastWindowWatcher watcher([this] { ++quits; });
        quits = 0;
        frmzolmaincs().Hide();
        other().Unload();
        frmzolmaincs().Show();
        QTest::qWait(20);
        QCOMPARE(quits, 0);
        flushDeletes();
    }

private:
    int quits = 0;
    QString tune;
};

ZOL_TEST(ExitPathsTest)
#include "tst_exitpaths.moc"
