// The notice, subject and mode windows that open every test.
#include "testsupport.h"
#include "testwindows.h"

#include "platform/database.h"
#include "tests/support/scripteddialogs.h"
#include "platform/form.h"
#include "testing/frmzol1.h"
#include "testing/frmzol2.h"
#include "testing/frmzol20.h"
#include "testing/questionnaire.h"
#include "testing/rawscores.h"

#include <QAbstractItemView>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

using namespace zol;
using namespace zoltest;

namespace {

const QString kInfo = QStringLiteral("信息");

void storeRows(int count)
{
    auto db = Database::OpenDatabase();
    QVERIFY(db);
    QVERIFY(db->Execute(QStringLiteral(
        "INSERT INTO 用户信息 (姓名) SELECT 'x' FROM (WITH RECURSIVE c(n) AS "
        "(SELECT 1 UNION ALL SELECT n + 1 FROM c WHERE n < ?) SELECT n FROM c)"),
                        {count}));
}

} // namespace

class NoticeWindowTest : public WindowFixture {
    Q_OBJECT
private slots:
    void init() { startWindows(); }
    void cleanup() { stopWindows(); }

    void fivePointsInOrder()
    {
        const QString text = noticeText();
        int at = -1;
        for (const char16_t* mark : {u"１、", u"２、", u"３、", u"４、", u"５、"}) {
            const int next = text.indexOf(QStringView(mark));
            QVERIFY(next > at);
            at = next;
        }
        QVERIFY(text.startsWith(QStringLiteral("１、")));
        QVERIFY(text.contains(QStringLiteral("16岁以下")));
        QCOMPARE(frmzol1().Frame1->title(), QStringLiteral("提示语："));
        // The notice fits its label.
        QLabel* l = frmzol1().Label1;
        QVERIFY(l->heightForWidth(l->width()) <= l->height());
    }

    void okNeedsTheTick()
    {
        Frmzol1Form& w = frmzol1();
        w.Show();
        QVERIFY(!w.Command1->isEnabled());
        QVERIFY(!w.Option1->isChecked());
        click(w.Option1);
        QVERIFY(w.Command1->isEnabled());
        click(w.Command1);
        QVERIFY(!w.isVisible());
        QVERIFY(DefaultForm<Frmzol1Form>::loaded());
        QVERIFY(frmzol2().isVisible());
        QCOMPARE(frmzol2().Text7->text(), QStringLiteral("1"));
    }

    void exitUnloadsTheNoticeOnly()
    {
        frmzol1().Show();
        click(frmzol1().Command2);
        flushDeletes();
        QVERIFY(loadedFormNames().isEmpty());
    }
};

class SubjectWindowTest : public WindowFixture {
    Q_OBJECT
private slots:
    void init() { startWindows(); }
    void cleanup() { stopWindows(); }

    void listsHoldTheirItems()
    {
        Frmzol2Form& w = frmzol2();
        QCOMPARE(w.Combo3->count(), 9);
        QCOMPARE(w.Combo2->count(), 39);
        QCOMPARE(w.Combo4->count(), 16);
        QCOMPARE(w.Combo1->count(), 6);
        for (QComboBox* c : {w.Combo1, w.Combo2, w.Combo3, w.Combo4}) {
            QVERIFY(!c->isEditable());
            QCOMPARE(c->currentText(), QString());   // nothing chosen
        }
        QCOMPARE(w.Combo3->itemText(0), QStringLiteral("文盲"));
        QCOMPARE(w.Combo2->itemText(38), QStringLiteral("其它民族"));
        QCOMPARE(w.Combo4->itemText(3), QStringLiteral("老师"));
        QCOMPARE(w.Combo4->itemText(7), QStringLiteral("教师"));
        QCOMPARE(w.Combo1->itemText(5), QStringLiteral("其它"));
        QCOMPARE(w.Label2->text(), QStringLiteral("姓\u3000名："));
        QCOMPARE(w.Label9->text(), QStringLiteral("编  号："));
        QVERIFY(!w.Option1->isChecked() && !w.Option2->isChecked());
    }

    // A list opens as a bounded popup inside the 800 × 600 screen the windows
    // are laid out for, wide enough for its longest item; the longer lists
    // scroll.
    void listsOpenWithinTheScreen()
    {
        Frmzol2Form& w = frmzol2();
        w.Show();
        for (QComboBox* c : {w.Combo1, w.Combo2, w.Combo3, w.Combo4}) {
            c->showPopup();
            QWidget* popup = c->view()->window();
            QVERIFY(popup->isVisible());
            QVERIFY2(popup->height() <= 300, qPrintable(QString::number(popup->height())));
            QCOMPARE(c->view()->verticalScrollBar()->isVisible(), c->count() > 10);
            for (int i = 0; i < c->count(); ++i)
                QVERIFY2(c->view()->viewport()->width()
                             >= c->view()->fontMetrics().horizontalAdvance(c->itemText(i)),
                         qPrintable(c->itemText(i)));
            c->hidePopup();
        }
    }

    void recordNumberFollowsTheRowCount()
    {
        storeRows(3);
        QCOMPARE(frmzol2().Text7->text(), QStringLiteral("4"));
        // Computed once per loaded window; "清除" counts again, beyond 16 bits.
        storeRows(40000);
        QCOMPARE(frmzol2().Text7->text(), QStringLiteral("4"));
        enterSubject({});
        click(frmzol2().Command3);
        QCOMPARE(frmzol2().Text7->text(), QStringLiteral("40004"));
        QCOMPARE(frmzol2().Text1->text(), QString());
        QCOMPARE(frmzol2().Text3->text(), QString());
        // The lists and the sex stay as chosen.
        QCOMPARE(frmzol2().Combo4->currentText(), QStringLiteral("教师"));
        QVERIFY(frmzol2().Option1->isChecked());
        QCOMPARE(dialogs->count(), 0);
    }

    void unreadableDatabaseLeavesTheNumberEmpty()
    {
        QVERIFY(writeFile(folder->file(QStringLiteral("zol.mdb")), QByteArray(4096, 'x')));
        Frmzol2Form& w = frmzol2();
        w.Show();
        QCOMPARE(dialogs->count(), 1);
        QCOMPARE(dialogs->last().title, QStringLiteral("出错信息"));
        QCOMPARE(w.Text7->text(), QString());
        // The window works on; the empty number is reported at OK.
        enterSubject({});
        click(w.Command1);
        QCOMPARE(dialogs->last().prompt, QStringLiteral("输入的编号必须为数字，请重新输入！"));
        QVERIFY(w.isVisible());
        QVERIFY(!DefaultForm<Frmzol20Form>::loaded());
    }

    void okWaitsForListsAndSex()
    {
        Frmzol2Form& w = frmzol2();
        w.Show();
        QVERIFY(!w.Command1->isEnabled());
        Subject s;
        s.sex.clear();
        enterSubject(s);
        QVERIFY(!w.Command1->isEnabled());    // no sex yet
        w.Command1_Click();                   // the check says so too
        QCOMPARE(dialogs->count(), 1);
        QCOMPARE(dialogs->last().prompt,
                 QStringLiteral("个人资料输入不全，请重新输入和选择后再单击确定！"));
        QVERIFY(!DefaultForm<Frmzol20Form>::loaded());
        click(w.Option2);
        QVERIFY(w.Command1->isEnabled());
        // Empty boxes do not hold OK back: the check says what is missing.
        w.Text1->clear();
        w.Text3->clear();
        QVERIFY(w.Command1->isEnabled());
    }

    void okCheck_data()
    {
        QTest::addColumn<QString>("age");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");   // empty: passes
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("emptied");   // "age", "number" or empty

        const QString ageWrong = QStringLiteral("您的年龄输入有错误，请重新输入！");
        const QString young =
            QStringLiteral("对不起，这是成人版，不适用于16岁以下青少年，请核对你的年龄无误后点击确定！");
        const QString old = QStringLiteral("你输入的年龄不符合实际，请重新输入！");
        const QString notNumber = QStringLiteral("输入的编号必须为数字，请重新输入！");
        const QString range = QStringLiteral("输入的编号不能大于是10000或小于0，请重新输入！");
        const QString incomplete = QStringLiteral("个人资料输入不全，请重新输入和选择后再单击确定！");
        const QString tip = QStringLiteral("提示");
        const QString nm = QStringLiteral("王五");

        QTest::newRow("age 16") << "16" << "5" << nm << "" << "" << "";
        QTest::newRow("age 15.9") << "15.9" << "5" << nm << young << kInfo << "age";
        QTest::newRow("age 99.9") << "99.9" << "5" << nm << "" << "" << "";
        QTest::newRow("age 100") << "100" << "5" << nm << old << kInfo << "age";
        QTest::newRow("age with blanks") << " 30 " << "5" << nm << "" << "" << "";
        QTest::newRow("age abc") << "abc" << "5" << nm << ageWrong << tip << "age";
        QTest::newRow("age empty") << "" << "5" << nm << ageWrong << tip << "age";
        QTest::newRow("age 30岁") << QStringLiteral("30岁") << "5" << nm << ageWrong << tip << "age";
        QTest::newRow("number 0") << "40" << "0" << nm << "" << "" << "";
        QTest::newRow("number 10000") << "40" << "10000" << nm << "" << "" << "";
        QTest::newRow("number -1") << "40" << "-1" << nm << range << kInfo << "number";
        QTest::newRow("number 10001") << "40" << "10001" << nm << range << kInfo << "number";
        QTest::newRow("number 12a") << "40" << "12a" << nm << notNumber << kInfo << "number";
        QTest::newRow("number empty") << "40" << "" << nm << notNumber << kInfo << "number";
        QTest::newRow("age before number") << "abc" << "12a" << nm << ageWrong << tip << "age";
        QTest::newRow("name empty") << "40" << "5" << "" << incomplete << kInfo << "";
        QTest::newRow("name of blanks") << "40" << "5" << "   " << "" << "" << "";
    }
    void okCheck()
    {
        QFETCH(QString, age);
        QFETCH(QString, number);
        QFETCH(QString, name);
        QFETCH(QString, message);
        QFETCH(QString, title);
        QFETCH(QString, emptied);
        Frmzol2Form& w = frmzol2();
        w.Show();
        Subject s;
        s.age = age;
        s.number = number;
        s.name = name;
        enterSubject(s);
        QVERIFY(w.Command1->isEnabled());
        click(w.Command1);
        if (message.isEmpty()) {
            QCOMPARE(dialogs->count(), 0);
            QVERIFY(!w.isVisible());
            QVERIFY(frmzol20().isVisible());
            QCOMPARE(w.Text3->text(), age);   // kept exactly as typed
            QCOMPARE(w.Text7->text(), number);
            return;
        }
        verifyOneMessage(*dialogs, message, title, vbOKOnly | vbInformation);
        QVERIFY(w.isVisible());
        QVERIFY(!DefaultForm<Frmzol20Form>::loaded());
        QCOMPARE(w.Text3->text(), emptied == "age" ? QString() : age);
        QCOMPARE(w.Text7->text(), emptied == "number" ? QString() : number);
        QCOMPARE(w.Text1->text(), name);
    }

    void enterMovesTheFocus()
    {
        Frmzol2Form& w = frmzol2();
        w.Show();
        QTest::keyClick(w.Text1, Qt::Key_Return);
        QCOMPARE(w.focusWidget(), w.Option1);
        QVERIFY(!w.Option1->isChecked());   // the focus alone chooses nothing
        click(w.Option2);
        QCOMPARE(w.focusWidget(), w.Text3);
        QTest::keyClick(w.Text3, Qt::Key_Enter);
        QCOMPARE(w.focusWidget(), w.Combo3);
        QTest::keyClick(w.Text7, Qt::Key_Return);
        QCOMPARE(w.focusWidget(), w.Combo1);
    }

    void exitUnloadsTheSubjectWindowOnly()
    {
        frmzol1().Show();
        click(frmzol1().Option1);
        click(frmzol1().Command1);
        click(frmzol2().Command2);
        flushDeletes();
        QCOMPARE(loadedFormNames(), QStringList{QStringLiteral("frmzol1")});
    }
};

class ModeWindowTest : public ItemsFixture {
    Q_OBJECT

    // The subject window filled in and hidden, the mode window on screen.
    Frmzol20Form& openModeWindow()
    {
        frmzol1().Show();
        passNoticeAndSubject();
        return frmzol20();
    }

private slots:
    void init() { startWithItems(); }
    void cleanup() { stopWindows(); }

    void okWaitsForModeAndChart()
    {
        Frmzol20Form& w = openModeWindow();
        QVERIFY(w.isVisible());
        QVERIFY(!w.Command1->isEnabled());
        click(w.Option4);
        QVERIFY(!w.Command1->isEnabled());   // a chart without a mode
        click(w.Option2);
        QVERIFY(w.Command1->isEnabled());
        click(w.Option1);   // the choice moves within its frame
        QVERIFY(w.Option1->isChecked() && !w.Option2->isChecked());
        QVERIFY(w.Option4->isChecked());
        QVERIFY(w.Command1->isEnabled());
        QCOMPARE(w.Option4->text(), QStringLiteral("E\u2014N关系图"));
    }

    void okShowsTheChosenWindowModally_data()
    {
        QTest::addColumn<bool>("typedIn");
        QTest::addColumn<bool>("profile");
        QTest::addColumn<QString>("window");
        QTest::newRow("typed-in, profile") << true << true << "frmzol19";
        QTest::newRow("typed-in, E-N") << true << false << "frmzol22";
        QTest::newRow("questionnaire, profile") << false << true << "Frmzol3";
        QTest::newRow("questionnaire, E-N") << false << false << "Frmzol23";
    }
    void okShowsTheChosenWindowModally()
    {
        QFETCH(bool, typedIn);
        QFETCH(bool, profile);
        QFETCH(QString, window);
        Frmzol20Form& w = openModeWindow();
        click(typedIn ? w.Option1 : w.Option2);
        click(profile ? w.Option3 : w.Option4);
        whileModal([&] { click(w.Command1); },
                   [&] {
                       Form* shown = modalWindow();
                       QVERIFY(shown);
                       QCOMPARE(shown->formName(), window);
                       QVERIFY(!w.isVisible());
                       QVERIFY(!frmzol1().isVisible());
                       QVERIFY(!frmzol2().isVisible());
                       QCOMPARE(loadedFormNames(),
                                (QStringList{"frmzol1", "frmzol2", "frmzol20", window}));
                       shown->Hide();
                   });
    }

    void exitEndsTheTest()
    {
        Frmzol20Form& w = openModeWindow();
        click(w.Command2);
        flushDeletes();
        QVERIFY(loadedFormNames().isEmpty());
    }

    void questionnaireNeedsItsItems_data()
    {
        QTest::addColumn<QByteArray>("content");   // empty: no file
        QTest::addColumn<QString>("says");
        QByteArray lines87;
        for (int i = 1; i <= 87; ++i)
            lines87 += "第" + QByteArray::number(i) + "题\n";
        QTest::newRow("missing") << QByteArray() << QStringLiteral("找不到题目文件");
        QTest::newRow("87 items") << lines87 << QStringLiteral("有87道题目");
    }
    void questionnaireNeedsItsItems()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, says);
        QFile::remove(folder->file(QStringLiteral("zolitems.txt")));
        if (!content.isEmpty())
            QVERIFY(writeFile(folder->file(QStringLiteral("zolitems.txt")), content));
        Frmzol20Form& w = openModeWindow();
        click(w.Option2);
        click(w.Option3);
        click(w.Command1);
        flushDeletes();
        QCOMPARE(dialogs->count(), 1);
        QCOMPARE(dialogs->last().title, QStringLiteral("出错信息"));
        QVERIFY(dialogs->last().prompt.contains(says));
        QVERIFY(dialogs->last().prompt.contains(QStringLiteral("zolitems.txt")));
        // The test has not started; the counsellor can choose again.
        QVERIFY(w.isVisible());
        QVERIFY(w.Command1->isEnabled());
        QCOMPARE(loadedFormNames(), (QStringList{"frmzol1", "frmzol2", "frmzol20"}));
        // Typed-in scores need no item file.
        click(w.Option1);
        whileModal([&] { click(w.Command1); },
                   [&] { frmzol19().Hide(); });
    }
};

ZOL_TEST(NoticeWindowTest)
ZOL_TEST(SubjectWindowTest)
ZOL_TEST(ModeWindowTest)
#include "tst_setupwindows.moc"
