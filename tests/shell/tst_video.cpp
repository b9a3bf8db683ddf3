// The video window and the About box.
#include "shellsupport.h"

#include "platform/buildinfo.h"
#include "tests/support/scripteddialogs.h"
#include "platform/mediaplayercontrol.h"
#include "platform/twips.h"
#include "shell/formtv1.h"
#include "shell/frmabout.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

using namespace zol;
using namespace shelltest;

class VideoTest : public ShellTestBase {
    Q_OBJECT
private slots:
    void init() { startServices(); }
    void cleanup() { stopServices(); }

    void windowAndMenus()
    {
        Formtv1Form& v = formtv1();
        QCOMPARE(v.windowTitle(), QStringLiteral("数字影蝶机"));
        QCOMPARE(v.Client->size(), QSize(tw(6930), tw(5535)));
        QCOMPARE(v.MediaPlayer->geometry(), twRect(600, 240, 5730, 5295));
        QVERIFY(!(v.windowFlags() & Qt::WindowMaximizeButtonHint));
        QStringList top;
        for (QAction* a : v.MenuBar->actions())
            top << a->text();
        QCOMPARE(top, zoltest::items(u"文件|设置|选台|说明|关于(&Y)"));
        QVERIFY(!v.MnuIteamabout->isVisible() && !v.MnuIteamabout->isEnabled());
        const QList<QAction*> channels = v.channelItems();
        QCOMPARE(channels.size(), 20);
        QCOMPARE(channels.first()->text(), QStringLiteral("中央台一套"));
        QCOMPARE(channels.last()->text(), QStringLiteral("网络电影台"));
        // Every playing channel has its own address; the channels stay
        // switched off until real addresses are supplied.
        QStringList addresses;
        for (QAction* c : channels) {
            QVERIFY(!c->isEnabled());
            if (!c->data().toString().isEmpty())
                addresses << c->data().toString();
        }
        QCOMPARE(addresses, build::channelPlaylists());
        QCOMPARE(v.mnuiteammo->shortcut(), QKeySequence(QStringLiteral("Ctrl+M")));
        QCOMPARE(v.MnuIteamdown->shortcut(), QKeySequence(QStringLiteral("Ctrl+D")));
    }

    // Steps of 200 up and 300 down, never above 0 nor below -2800.
    void volumeSteps_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<bool>("up");
        QTest::addColumn<int>("to");
        QTest::newRow("0 up stays") << 0 << true << 0;
        QTest::newRow("0 down") << 0 << false << -300;
        QTest::newRow("-100 up stays") << -100 << true << -100;
        QTest::newRow("-200 up") << -200 << true << 0;
        QTest::newRow("-2500 down to the limit") << -2500 << false << -2800;
        QTest::newRow("-2600 down stays") << -2600 << false << -2600;
        QTest::newRow("-2700 down stays") << -2700 << false << -2700;
        QTest::newRow("-2900 up") << -2900 << true << -2700;
        QTest::newRow("-2900 down stays") << -2900 << false << -2900;
    }
    void volumeSteps()
    {
        QFETCH(int, from);
        QFETCH(bool, up);
        QFETCH(int, to);
        Formtv1Form& v = formtv1();
        v.MediaPlayer->setVolume(from);
        (up ? v.MnuIteamup : v.MnuIteamdown)->trigger();
        QCOMPARE(v.MediaPlayer->volume(), to);
    }

    // What each command hands the player, in order.
    void commands()
    {
        Formtv1Form& v = formtv1();
        const QString film = folder->file(QStringLiteral("film.avi"));
        dialogs->fileAnswers << QString() << film;
        v.MnuIteamopen->trigger();   // cancelled
        v.MnuIteamopen->trigger();
        QVERIFY(dialogs->last().filter.startsWith(QStringLiteral("视频文件(*.AVI,*.ASF,*.MPEG)")));
        media->last->positionChanged(1500);
        dialogs->inputAnswers << QStringLiteral("http://video.example.org/a.asx") << QString();
        v.MnuIteamhttp->trigger();
        media->last->failed(QStringLiteral("refused"));  // the film plays on, quietly
        QTRY_COMPARE(v.MediaPlayer->fileName(), film);
        QVERIFY(media->log.contains(QStringLiteral("position 1500")));
        v.MnuIteamhttp->trigger();   // cancelled: the empty name stops
        QCOMPARE(dialogs->last().prompt, QStringLiteral("输入文件地址"));
        QCOMPARE(dialogs->last().title, QStringLiteral("地址框"));
        v.channel_Click(v.MnuIteambeijing);
        v.channel_Click(v.mnuiteam6);
        v.channel_Click(v.mnuiteammovie);
        const QStringList playlists = build::channelPlaylists();
        QCOMPARE(media->log.filter(QStringLiteral("source")),
                 (QStringList{QStringLiteral("source ") + film,
                              QStringLiteral("source http://video.example.org/a.asx"),
                              QStringLiteral("source ") + film,
                              QStringLiteral("source "), QStringLiteral("source "),
                              QStringLiteral("source ") + playlists.at(4),
                              QStringLiteral("source ") + playlists.at(17)}));
        QCOMPARE(v.MediaPlayer->fileName(), playlists.at(17));

        const std::pair<QAction*, int> sizes[] = {
            {v.MnuIteamxiao, 1}, {v.MnuIteamda, 3}, {v.mnuiteammo, 4}};
        for (const auto& [item, size] : sizes) {
            item->trigger();
            QCOMPARE(v.MediaPlayer->displaySize(), size);
        }
        v.examp->trigger();
        QCOMPARE(links->calls.last(), QStringLiteral("text ") + folder->file(QStringLiteral("zolupdate.txt")));
    }

    // 关闭 ends the program; the close box closes this window alone.
    void closing()
    {
        EndRecorder end;
        frmzolmaincs().Show();
        formtv1().Show();
        formtv1().MnuIteamclose->trigger();
        QCOMPARE(end.ends, 1);
        QVERIFY(formtv1().close());
        QVERIFY(!DefaultForm<Formtv1Form>::loaded());
        QVERIFY(frmzolmaincs().isVisible());
        QCOMPARE(end.ends, 1);
        zoltest::flushDeletes();
    }

    void aboutBox()
    {
        FrmzolmaincsForm& m = frmzolmaincs();
        m.mnuabout->trigger();
        FrmAboutForm* about = &frmAbout();
        QVERIFY(about->isVisible());
        QCOMPARE(about->windowTitle(), QStringLiteral("关于 ") + programTitle());
        QCOMPARE(about->Label5->text(), QStringLiteral("出  品：B r e v a n d "));
        QCOMPARE(about->Label4->text(), QStringLiteral("网  址：") + build::webPage());
        QCOMPARE(about->Label3->text(), QStringLiteral("E-Mail：") + build::mailAddress());
        QCOMPARE(about->Label2->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        QCOMPARE(about->Label2->geometry(), twRect(1320, 840, 3375, 375));
        QVERIFY(about->Label2->font().bold());
        QTest::mouseClick(about->cmdOK, Qt::LeftButton);
        QVERIFY(!about->isVisible());
        m.mnuabout->trigger();
        QCOMPARE(&frmAbout(), about);   // shown again, not loaded anew
        QVERIFY(about->isVisible());
    }

    // The system-information program: the first lookup names it, the second
    // names the folder that must hold it; otherwise the message.
    void systemInformation_data()
    {
        QTest::addColumn<QString>("programs");   // on the PATH
        QTest::addColumn<bool>("refuse");        // the start fails
        QTest::addColumn<QString>("started");    // empty: the message
        QTest::newRow("none") << "" << false << "";
        QTest::newRow("first lookup") << "kinfocenter" << false << "kinfocenter";
        QTest::newRow("first lookup first in its list") << "cpu-x hardinfo2" << false << "hardinfo2";
        QTest::newRow("folder lookup") << "hardinfo" << false << "hardinfo";
        QTest::newRow("cannot start") << "kinfocenter" << true << "";
        QTest::newRow("other programs only") << "xterm" << false << "";
    }
    void systemInformation()
    {
        QFETCH(QString, programs);
        QFETCH(bool, refuse);
        QFETCH(QString, started);
        const QString bin = folder->file(QStringLiteral("bin"));
        QVERIFY(QDir().mkpath(bin));
        for (const QString& name : programs.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            QFile f(bin + QLatin1Char('/') + name);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("#!/bin/sh\n");
            f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
        }
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin));
        links->refuseToStart = refuse;
        QTest::mouseClick(frmAbout().cmdSysInfo, Qt::LeftButton);
        qputenv("PATH", path);
        if (!started.isEmpty()) {
            QCOMPARE(links->calls, QStringList{QStringLiteral("start ") + bin + QLatin1Char('/') + started});
            QCOMPARE(dialogs->count(), 0);
        } else {
            zoltest::verifyOneMessage(*dialogs, QStringLiteral("此时系统信息不可用"), programTitle(), vbOKOnly);
        }
    }
};

ZOL_TEST(VideoTest)
#include "tst_video.moc"
