// Background music, the MP3 panel and the help key of the main window.
#include "shellsupport.h"

#include "platform/buildinfo.h"
#include "platform/links.h"
#include "platform/media.h"
#include "platform/mp3play.h"
#include "shell/frmabout.h"
#include "shell/frmzolmaincs.h"
#include "shell/frmzolsplash.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

using namespace zol;
using namespace shelltest;

namespace {

// Three frames of MPEG-1 layer III at 128 kbit/s, 44.1 kHz: 417 bytes each,
// 26.12 ms each.
QByteArray threeFrames()
{
    QByteArray frame(417, '\0');
    frame[0] = char(0xFF);
    frame[1] = char(0xFB);
    frame[2] = char(0x90);
    return frame.repeated(3);
}

} // namespace

class MusicTest : public ShellTestBase {
    Q_OBJECT
private slots:
    void init() { startServices(); }
    void cleanup() { stopServices(); }

    // The toggle button, the menu entries and the play commands, from the
    // state the load step leaves. Commands are those sent after the load.
    void musicCommands_data()
    {
        QTest::addColumn<bool>("withPiece");
        QTest::addColumn<bool>("refuse");
        QTest::addColumn<QString>("actions");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("commands");
        QTest::addColumn<bool>("timer");
        QTest::newRow("toggle pauses") << true << false << "toggle" << "暂  停" << "pause A" << true;
        QTest::newRow("toggle again starts a new draw")
            << true << false << "toggle toggle" << "播  放" << "pause A|close A|play A" << true;
        QTest::newRow("menu pause stops the timer") << true << false << "pause" << "暂  停" << "pause A" << false;
        QTest::newRow("menu pause when paused does nothing")
            << true << false << "toggle pause" << "暂  停" << "pause A" << true;
        QTest::newRow("play entry closes the piece before")
            << true << false << "bgplay" << "播  放" << "close A|play A" << true;
        QTest::newRow("music button leaves the caption")
            << true << false << "toggle button" << "暂  停" << "pause A|close A|play A" << true;
        QTest::newRow("refused start stops the timer")
            << true << true << "bgplay" << "播  放" << "close A|play A" << false;
        QTest::newRow("no piece: empty names") << false << false << "toggle toggle" << "播  放"
                                               << "pause |play " << false;
    }
    void musicCommands()
    {
        QFETCH(bool, withPiece);
        QFETCH(bool, refuse);
        QFETCH(QString, actions);
        QFETCH(QString, caption);
        QFETCH(QString, commands);
        QFETCH(bool, timer);
        const QString piece = folder->file(QStringLiteral("a.mid"));
        if (withPiece)
            QVERIFY(zoltest::writeFile(piece, "MThd"));
        FrmzolmaincsForm& m = frmzolmaincs();
        QCOMPARE(m.CurrentMidi, withPiece ? piece : QString());
        QCOMPARE(m.Timer1->isActive(), withPiece);
        music->commands.clear();
        music->refuse = refuse;
        for (const QString& action : actions.split(QLatin1Char(' '))) {
            if (action == QLatin1String("toggle"))
                QTest::mouseClick(m.Command1, Qt::LeftButton);
            else if (action == QLatin1String("pause"))
                m.pause->trigger();
            else if (action == QLatin1String("bgplay"))
                m.bgplay->trigger();
            else
                QTest::mouseClick(m.Command20, Qt::LeftButton);
        }
        QCOMPARE(m.Command1->text(), caption);
        QCOMPARE(music->commands.join(QLatin1Char('|')), commands.replace(QLatin1String(" A"), QLatin1Char(' ') + piece));
        QCOMPARE(m.Timer1->isActive(), timer);
        QCOMPARE(dialogs->count(), 0);
    }

    // What the MP3 panel shows for each way an open can go.
    void mp3Open_data()
    {
        QTest::addColumn<QString>("answer");  // the file picked; empty: cancel
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("status");
        QTest::newRow("cancel") << "" << QByteArray() << build::webPage();
        QTest::newRow("MPEG audio") << "a.mp3" << threeFrames() << "Open return: 0";
        QTest::newRow("not MPEG audio") << "b.mp3" << QByteArray("plain text, no frames") << "Open return: 3";
        QTest::newRow("missing file") << "gone.mp3" << QByteArray() << "Open return: 2";
    }
    void mp3Open()
    {
        QFETCH(QString, answer);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, status);
        if (!bytes.isEmpty())
            QVERIFY(zoltest::writeFile(folder->file(answer), bytes));
        if (!answer.isEmpty())
            dialogs->fileAnswers << folder->file(answer);
        FrmzolmaincsForm& m = frmzolmaincs();
        QTest::mouseClick(m.Command15, Qt::LeftButton);
        QCOMPARE(m.Text1->text(), status);
        QCOMPARE(dialogs->last().filter, QStringLiteral("MP3 Files(*.mp3)"));
        QCOMPARE(media->log.contains(QStringLiteral("source ") + folder->file(answer)),
                 status.endsWith(QLatin1String(": 0")));
    }

    // Play, the reports of the player, seeking by the bar, pause, stop and
    // the end; each entry point of the open command.
    void mp3Panel()
    {
        FrmzolmaincsForm& m = frmzolmaincs();
        QTest::mouseClick(m.Command16, Qt::LeftButton);
        QCOMPARE(m.Text1->text(), QStringLiteral("Play return: 1"));  // nothing open yet

        const QString file = folder->file(QStringLiteral("a.mp3"));
        QVERIFY(zoltest::writeFile(file, threeFrames()));
        dialogs->fileAnswers << file << file;
        m.mp3play->trigger();
        QTest::mouseClick(m.Command21, Qt::LeftButton);
        QCOMPARE(dialogs->count(), 2);
        QTest::mouseClick(m.Command16, Qt::LeftButton);
        QCOMPARE(m.Text1->text(), QStringLiteral("Play return: 0"));
        QCOMPARE(m.HScroll1->maximum(), 3);
        media->log.clear();

        media->last->positionChanged(30);  // frame 1
        QCOMPARE(m.Text2->text(), QStringLiteral("1 of 3"));
        QCOMPARE(m.Text3->text(), QStringLiteral("0 sec"));
        QCOMPARE(m.HScroll1->value(), 1);
        QVERIFY(media->log.isEmpty());  // following the player is no seek
        m.HScroll1->setValue(2);
        QCOMPARE(media->log, QStringList{QStringLiteral("position 52")});

        QTest::mouseClick(m.Command13, Qt::LeftButton);
        QCOMPARE(m.Text1->text(), QStringLiteral("Pause return: 0"));
        QTest::mouseClick(m.Command14, Qt::LeftButton);
        QCOMPARE(m.Text1->text(), QStringLiteral("Stop return: 0"));
        media->last->ended();
        QCOMPARE(m.Text1->text(), QStringLiteral("Thread ended"));
    }

    // F1 in any window of the program is the help key.
    // The synthesizer may load once the splash window has been drawn, not
    // while its first picture is still to come.
    void splashLetsTheSynthesizerLoadOnceDrawn()
    {
        struct CountingMusic : RecordingMusic {
            int loads = 0;
            void loadNow() override { ++loads; }
        };
        music.reset();
        auto* counting = new CountingMusic;
        music.reset(counting);
        frmzolsplash().Show();
        QCOMPARE(counting->loads, 0);
        QTRY_VERIFY(counting->loads > 0);
    }

    void helpKeyInEveryWindow()
    {
        installHelpKey();
        for (QWidget* w : {static_cast<QWidget*>(&frmzolmaincs()), static_cast<QWidget*>(&frmAbout())}) {
            links->calls.clear();
            QTest::keyClick(w, Qt::Key_F1);
            QCOMPARE(links->calls, QStringList{QStringLiteral("help key")});
        }
    }
};

ZOL_TEST(MusicTest)
#include "tst_music.moc"
