// The main window: its look, menus and commands.
#include "shellsupport.h"

#include "tests/support/scripteddialogs.h"
#include "platform/form.h"
#include "platform/movingtext.h"
#include "platform/twips.h"
#include "platform/buildinfo.h"
#include "shell/frmzolmaincs.h"
#include "testing/frmzol1.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <initializer_list>
#include <QTest>
#include <memory>

using namespace zol;
using namespace shelltest;
using zoltest::items;

namespace {

QStringList captions(const QMenu* menu)
{
    QStringList list;
    for (const QAction* a : menu->actions())
        list << a->text();
    return list;
}

QStringList topMenus(const QMenuBar* bar)
{
    QStringList list;
    for (const QAction* a : bar->actions())
        list << a->menu()->objectName() + QLatin1Char(' ') + a->text();
    return list;
}

} // namespace

class MainWindowTest : public ShellTestBase {
    Q_OBJECT
private slots:
    void init() { startServices(); }
    void cleanup() { stopServices(); }

    void captionAndColours()
    {
        FrmzolmaincsForm& m = frmzolmaincs();
        QCOMPARE(m.windowTitle(),
                 QStringLiteral("Hollisk之Vormel人格问卷成人版 VER 4.0      Brevand  https://www.example.com/"));
        m.Show();
        QCOMPARE(m.Client->size(), QSize(tw(11880), tw(8190)));
        QCOMPARE(m.Client->mapTo(&m, QPoint(0, 0)).y(), m.MenuBar->height());
        const QImage shot = m.Client->grab().toImage();
        QCOMPARE(shot.pixelColor(tw(600), tw(6000)), QColor(192, 255, 255));
        QCOMPARE(m.Label2->palette().color(QPalette::WindowText), QColor(255, 128, 0));
        QCOMPARE(m.Label2->text(), QStringLiteral("最佳显示效果：800 * 600"));
        // The whole hint fits its label.
        QVERIFY(m.Label2->fontMetrics().horizontalAdvance(m.Label2->text()) <= m.Label2->width());
        QVERIFY(m.MovingText1->text().startsWith(QStringLiteral("Pemdrow")));
        const QStringList intro = m.Label3->text().split(QLatin1Char('\n'));
        QCOMPARE(intro.size(), 2);
        for (const QString& paragraph : intro)
            QVERIFY(paragraph.startsWith(QStringLiteral("    ")) && paragraph.at(4) != QLatin1Char(' '));
        // The introduction fits its label.
        QVERIFY(m.Label3->heightForWidth(m.Label3->width()) <= m.Label3->height());
    }

    void controlsKeepTheirProportionsWhenResized()
    {
        FrmzolmaincsForm& m = frmzolmaincs();
        m.Show();
        const QRect design18 = m.Command18->geometry();
        const QRect designBand = m.MovingText1->geometry();
        const QSize extra = m.size() - m.Client->size();
        m.resize(extra + QSize(tw(11880) * 2, tw(8190) * 2));
        QTRY_COMPARE(m.Client->size(), QSize(tw(11880) * 2, tw(8190) * 2));
        // Inside its frame, which doubled too.
        QCOMPARE(m.Command18->geometry(), QRect(design18.topLeft() * 2, design18.size() * 2));
        QCOMPARE(m.MovingText1->geometry(), QRect(designBand.topLeft() * 2, designBand.size() * 2));
        QCOMPARE(m.Frame1->geometry(), twRect(7920 * 2, 120 * 2, 3975 * 2, 7335 * 2));
        m.resize(extra + QSize(tw(11880), tw(8190)));
        QTRY_COMPARE(m.Client->size(), QSize(tw(11880), tw(8190)));
        QCOMPARE(m.Command18->geometry(), design18);
        QCOMPARE(m.MovingText1->geometry(), designBand);
    }

    void menusWithEveryEntry()
    {
        FrmzolmaincsForm& m = frmzolmaincs();
        QCOMPARE(topMenus(m.MenuBar),
                 items(u"mnufile 系统文件|manag 数据管理|static 统计分析|rest 娱乐休闲|mnuhelp 系统帮助"));
        QCOMPARE(captions(m.mnufile), items(u"开始测试|批量测试|数据备份|数据恢复|退    出"));
        QCOMPARE(captions(m.manag), items(u"普通查询|查询编辑|报告打印"));
        QCOMPARE(captions(m.static_), items(u"总体统计|男    性|女    性"));
        QCOMPARE(captions(m.rest), items(u"背景音乐|MP3欣赏|VCD播放"));
        QCOMPARE(captions(m.bgsoung), items(u"播   放|暂   停"));
        QCOMPARE(captions(m.MP3), items(u"播   放"));
        QCOMPARE(m.rest->actions().at(0)->menu(), m.bgsoung);
        QCOMPARE(m.rest->actions().at(1)->menu(), m.MP3);
        QCOMPARE(captions(m.mnuhelp), items(u"说    明|常见问题|主    页|邮    件|关    于"));
        // Every entry carries its image.
        for (QMenu* menu : {m.mnufile, m.manag, m.static_, m.rest, m.bgsoung, m.MP3, m.mnuhelp})
            for (QAction* a : menu->actions())
                QVERIFY2(!a->icon().isNull(), qPrintable(a->text()));
    }

    // There is no batch test: the entry stays in its place and cannot be chosen.
    void batchTestEntryIsDisabled()
    {
        FrmzolmaincsForm& m = frmzolmaincs();
        QCOMPARE(m.mnufile->actions().at(1), m.Pltest);
        QCOMPARE(m.Pltest->text(), QStringLiteral("批量测试"));
        QVERIFY(m.Pltest->isVisible());
        QVERIFY(!m.Pltest->isEnabled());
        m.Pltest->trigger();
        QCOMPARE(loadedFormNames(), QStringList{QStringLiteral("frmzolmaincs")});
        QCOMPARE(dialogs->count(), 0);
        // Setting the states again leaves it disabled.
        m.setCommandStates();
        QVERIFY(!m.Pltest->isEnabled());
    }

    // Commands whose windows are not part of the program yet are shown
    // disabled; the others work.
    void commandStates()
    {
        FrmzolmaincsForm& m = frmzolmaincs();
        for (QAction* a : {m.Pltest})
            QVERIFY2(!a->isEnabled(), qPrintable(a->objectName()));
        for (QAction* a : {m.mnutest, m.mnufind, m.mnuprint, m.mnuseek, m.backup, m.restore,
                           m.exampl, m.adverg, m.sd, m.mnuexplan, m.mnurenew, m.mnuwww,
                           m.mnuemail, m.mnuexit, m.bgplay, m.pause, m.mp3play, m.vcdplay,
                           m.mnuabout})
            QVERIFY2(a->isEnabled(), qPrintable(a->objectName()));
        for (QWidget* b : std::initializer_list<QWidget*>{
                 m.Command2, m.Command18, m.Command3, m.Command19, m.Command4, m.Command7,
                 m.Command9, m.Command6, m.Command11, m.Command24, m.Command8, m.Command26,
                 m.Command23, m.Command28, m.Command29, m.Command1, m.Command20, m.Command21,
                 m.Command15, m.Command16, m.Command13, m.Command14, m.HScroll1})
            QVERIFY2(b->isEnabled(), qPrintable(b->objectName()));
        // The menus that only hold entries are open.
        QVERIFY(m.bgsoung->menuAction()->isEnabled());
        QVERIFY(m.MP3->menuAction()->isEnabled());
    }

    // The three start-test commands show the notice; while a test is under
    // way they bring its window forward instead of starting another.
    void startTestCommands()
    {
        FrmzolmaincsForm& m = frmzolmaincs();
        m.Show();
        const std::function<void()> commands[] = {
            [&] { m.mnutest->trigger(); },
            [&] { QTest::mouseClick(m.Command18, Qt::LeftButton); },
            [&] { QTest::mouseClick(m.Command2, Qt::LeftButton); },
        };
        for (const auto& command : commands) {
            command();
            QVERIFY(zol::DefaultForm<zol::Frmzol1Form>::loaded());
            zol::Frmzol1Form* notice = &zol::frmzol1();
            QVERIFY(notice->isVisible());
            QVERIFY(!notice->Command1->isEnabled());
            command();
            QCOMPARE(&zol::frmzol1(), notice);
            QCOMPARE(loadedFormNames(),
                     (QStringList{QStringLiteral("frmzolmaincs"), QStringLiteral("frmzol1")}));
            QTest::mouseClick(notice->Command2, Qt::LeftButton);
            zoltest::flushDeletes();
        }
        QCOMPARE(dialogs->count(), 0);
    }

    void helpAndLinkCommands()
    {
        FrmzolmaincsForm& m = frmzolmaincs();
        m.Show();
        links->calls.clear();
        m.mnuexplan->trigger();
        m.mnurenew->trigger();
        for (QPushButton* b : {m.Command26, m.Command28, m.Command11, m.Command8, m.Command7,
                               m.Command9})
            QTest::mouseClick(b, Qt::LeftButton);
        QCOMPARE(links->calls, QStringList(8, QStringLiteral("help key")));

        links->calls.clear();
        const QString web = QStringLiteral("web ") + build::webPage();
        m.mnuwww->trigger();
        QTest::mouseClick(m.Command23, Qt::LeftButton);
        QTest::mouseClick(m.Image2, Qt::LeftButton);
        QTest::mouseClick(m.Label3, Qt::LeftButton, {}, QPoint(m.Label3->width() - 5, 5));
        QTest::mouseClick(m.Label2, Qt::LeftButton);
        m.mnuemail->trigger();
        QTest::mouseClick(m.Command29, Qt::LeftButton);
        QCOMPARE(links->calls,
                 (QStringList{web, web, web, web, QStringLiteral("web ") + build::secondSite(),
                              QStringLiteral("mail ") + build::mailAddress(),
                              QStringLiteral("mail ") + build::mailAddress()}));
        QCOMPARE(dialogs->count(), 0);
        QVERIFY(build::webPage().contains(QStringLiteral("example.")));
        QVERIFY(build::secondSite().contains(QStringLiteral("example.")));
        QVERIFY(build::mailAddress().contains(QStringLiteral("@example.")));
    }

    // The upgrade command shows its notice first and opens the page only
    // once the notice is closed.
    void upgradeNoticeBeforeTheWebPage()
    {
        FrmzolmaincsForm& m = frmzolmaincs();
        links->calls.clear();
        int linksWhenAsked = -1;
        struct Watch : ScriptedDialogs {
            std::function<void()> asked;
            int message(const QString& p, int s, const QString& t) override
            {
                asked();
                return ScriptedDialogs::message(p, s, t);
            }
        } watch;
        watch.asked = [&] { linksWhenAsked = links->calls.size(); };
        QTest::mouseClick(m.Command24, Qt::LeftButton);
        zoltest::verifyOneMessage(watch, QStringLiteral(" 欢迎访问Brevand，了解心理测验软件最新升级信息！"),
                                  QStringLiteral("提示"), vbOKOnly);
        QCOMPARE(linksWhenAsked, 0);
        QCOMPARE(links->calls, QStringList{QStringLiteral("web ") + build::webPage()});
    }
};

ZOL_TEST(MainWindowTest)
#include "tst_mainwindow.moc"
