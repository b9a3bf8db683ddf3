// The typed-in raw-score windows frmzol19 and frmzol22: the key filter, the
// OK check and the two ways OK fills a result window.
#include "testwindows.h"

#include "testing/interpretation.h"
#include "testing/rawscores.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace zol;
using namespace zoltest;

namespace {

const QString kErrorTitle = QStringLiteral("出错信息");

// What the key filter says when a key would take a score past its limit.
QString keyMessage(int limit)
{
    return QStringLiteral("你输入的方法有误，请重新输入各量表原始份（1-%1）！").arg(limit);
}

QList<QLineEdit*> boxes(RawScoreForm& w) { return {w.Text1, w.Text2, w.Text3, w.Text4}; }

RawScoreForm& rawWindow(const QString& name)
{
    if (name == QLatin1String("frmzol22"))
        return frmzol22();
    return frmzol19();
}

} // namespace

class RawKeyFilterTest : public WindowFixture {
    Q_OBJECT
private slots:
    void init() { startWindows(); }
    void cleanup() { stopWindows(); }

    void digitsWithinTheLimitAreTyped()
    {
        RawScoreForm& w = frmzol19();
        w.Show();
        for (QLineEdit* b : boxes(w)) {
            QTest::keyClicks(b, "10");
            QCOMPARE(b->text(), QStringLiteral("10"));
        }
        QTest::keyClicks(w.Text1, "0");   // 10 is within 23: the 0 is typed
        QCOMPARE(w.Text1->text(), QStringLiteral("100"));
        QCOMPARE(dialogs->count(), 0);
    }

    void keyLimitLooksAtTheTextBeforeTheKey_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("box");           // 0..3: P, E, N, L
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("standing");  // text after the keys
        QTest::addColumn<int>("limit");         // message of this limit; 0: none
        QTest::newRow("P 25 stands") << "frmzol19" << 0 << "25" << "25" << 0;
        QTest::newRow("P 25 then a digit") << "frmzol19" << 0 << "253" << "" << 23;
        QTest::newRow("E 22 then a digit") << "frmzol22" << 1 << "220" << "" << 21;
        QTest::newRow("N 24 then a digit") << "frmzol19" << 2 << "241" << "241" << 0;
        QTest::newRow("N 25 then a digit") << "frmzol19" << 2 << "251" << "" << 24;
        QTest::newRow("frmzol22 L 21") << "frmzol22" << 3 << "21" << "21" << 0;
        QTest::newRow("frmzol22 L 22") << "frmzol22" << 3 << "22" << "22" << 0;
        QTest::newRow("frmzol22 L 21 then a digit") << "frmzol22" << 3 << "211" << "" << 20;
        QTest::newRow("frmzol19 L 21 then a digit") << "frmzol19" << 3 << "211" << "211" << 0;
        QTest::newRow("frmzol19 L 23 then a digit") << "frmzol19" << 3 << "231" << "" << 22;
    }
    void keyLimitLooksAtTheTextBeforeTheKey()
    {
        QFETCH(QString, window);
        QFETCH(int, box);
        QFETCH(QString, typed);
        QFETCH(QString, standing);
        QFETCH(int, limit);
        RawScoreForm& w = rawWindow(window);
        w.Show();
        QTest::keyClicks(boxes(w)[box], typed);
        QCOMPARE(boxes(w)[box]->text(), standing);
        if (limit == 0) {
            QCOMPARE(dialogs->count(), 0);
            return;
        }
        verifyOneMessage(*dialogs, keyMessage(limit), kErrorTitle, vbOKOnly);
    }

    void otherKeysAreRefused_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("Backspace") << int(Qt::Key_Backspace) << 0;
        QTest::newRow("Return") << int(Qt::Key_Return) << 0;
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier);
        QTest::newRow("Delete") << int(Qt::Key_Delete) << 0;
        QTest::newRow("letter") << int(Qt::Key_A) << 0;
        QTest::newRow("blank") << int(Qt::Key_Space) << 0;
        QTest::newRow("minus") << int(Qt::Key_Minus) << 0;
        QTest::newRow("point") << int(Qt::Key_Period) << 0;
        QTest::newRow("paste") << int(Qt::Key_V) << int(Qt::ControlModifier);
        QTest::newRow("cut") << int(Qt::Key_X) << int(Qt::ControlModifier);
        QTest::newRow("undo") << int(Qt::Key_Z) << int(Qt::ControlModifier);
    }
    void otherKeysAreRefused()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        RawScoreForm& w = frmzol22();
        w.Show();
        for (QLineEdit* b : boxes(w))
            QTest::keyClicks(b, "12");
        QTest::keyClick(w.Text3, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        verifyOneMessage(*dialogs, keyMessage(24), kErrorTitle, vbOKOnly);
        QCOMPARE(w.Text3->text(), QString());
        for (QLineEdit* b : {w.Text1, w.Text2, w.Text4})
            QCOMPARE(b->text(), QStringLiteral("12"));
    }

    // Moving between the boxes and the cursor within one stays possible.
    void navigationKeysPass()
    {
        RawScoreForm& w = frmzol19();
        w.Show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.Text1->setFocus();
        QTest::keyClicks(w.Text1, "12");
        QTest::keyClick(w.Text1, Qt::Key_Shift, Qt::ShiftModifier);
        QTest::keyClick(w.Text1, Qt::Key_Left);
        QTest::keyClick(w.Text1, Qt::Key_Home, Qt::ShiftModifier);
        QTest::keyClick(w.Text1, Qt::Key_C, Qt::ControlModifier);
        QTest::keyClick(w.Text1, Qt::Key_Tab);
        QCOMPARE(dialogs->count(), 0);
        QCOMPARE(w.Text1->text(), QStringLiteral("12"));
        QCOMPARE(QApplication::focusWidget(), w.Text2);
        QTest::keyClick(w.Text2, Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), w.Text1);
        QCOMPARE(dialogs->count(), 0);
    }
};

class RawScoreOkTest : public WindowFixture {
    Q_OBJECT

    // The raw-score window on screen, with the windows before it loaded and
    // hidden, as in a test.
    RawScoreForm& open(const QString& window, const Subject& subject = {})
    {
        loadSetupWindows(subject);
        RawScoreForm& w = rawWindow(window);
        w.Show();
        return w;
    }
    void type(RawScoreForm& w, const QStringList& texts)
    {
        for (int i = 0; i < 4; ++i)
            QTest::keyClicks(boxes(w)[i], texts[i]);
        QCOMPARE(dialogs->count(), 0);
    }
    void checkRefused(RawScoreForm& w, const QString& result)
    {
        verifyOneMessage(*dialogs, QStringLiteral("你输入的原始分有误，请重新检查一遍各量表创始值！"),
                         kErrorTitle, vbOKOnly);
        QVERIFY(w.isVisible());
        QVERIFY(!findLoaded(result));
    }

private slots:
    void init() { startWindows(); }
    void cleanup() { stopWindows(); }

    void aboveTheLimitIsRefused_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("P 25") << "frmzol19" << QStringList{"25", "", "", ""};
        QTest::newRow("E 22") << "frmzol22" << QStringList{"", "22", "", ""};
        QTest::newRow("N 25") << "frmzol19" << QStringList{"", "", "25", ""};
        QTest::newRow("L 211") << "frmzol19" << QStringList{"", "", "", "211"};
    }
    void aboveTheLimitIsRefused()
    {
        QFETCH(QString, window);
        QFETCH(QStringList, texts);
        RawScoreForm& w = open(window);
        type(w, texts);
        click(w.Command1);
        checkRefused(w, window == "frmzol19" ? "frmzol401" : "frmzol211");
        for (int i = 0; i < 4; ++i)
            QCOMPARE(boxes(w)[i]->text(), texts[i]);   // nothing emptied
    }

    // Text that did not come through the key filter (pasted with the mouse).
    void pastedTextMustBeDigits_data()
    {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<int>("raw");   // -1: refused
        QTest::newRow("negative") << "-1" << -1;
        QTest::newRow("fraction") << "1.5" << -1;
        QTest::newRow("letters") << "abc" << -1;
        QTest::newRow("digits then letters") << "12a" << -1;
        QTest::newRow("full-width digits") << QStringLiteral("１２") << -1;
        QTest::newRow("digits with a blank inside") << "1 2" << -1;
        QTest::newRow("overflowing") << "99999999999" << -1;
        QTest::newRow("blanks around digits") << " 12 " << 12;
        QTest::newRow("leading zero") << "07" << 7;
        QTest::newRow("blanks only") << "   " << 0;
    }
    void pastedTextMustBeDigits()
    {
        QFETCH(QString, pasted);
        QFETCH(int, raw);
        RawScoreForm& w = open("frmzol22");
        type(w, {"5", "5", "5", ""});
        w.Text4->setText(pasted);
        click(w.Command1);
        if (raw < 0) {
            checkRefused(w, "frmzol211");
            return;
        }
        QCOMPARE(dialogs->count(), 0);
        QCOMPARE(int(gLRaw), raw);
        QCOMPARE(frmzol211().Label10->text(), QString::number(raw));
    }

    void scoreOutsideTheNormTableIsRefused_data()
    {
        QTest::addColumn<QString>("sex");
        QTest::addColumn<QString>("age");
        QTest::addColumn<QString>("l");
        QTest::addColumn<bool>("accepted");
        // Men under 20: the L column ends at 21; women of 20 to 29 have a row for 22.
        QTest::newRow("男 18, L 22") << QStringLiteral("男") << "18" << "22" << false;
        QTest::newRow("男 18, L 21") << QStringLiteral("男") << "18" << "21" << true;
        QTest::newRow("女 25, L 22") << QStringLiteral("女") << "25" << "22" << true;
        QTest::newRow("女 35, L 21") << QStringLiteral("女") << "35" << "21" << false;
    }
    void scoreOutsideTheNormTableIsRefused()
    {
        QFETCH(QString, sex);
        QFETCH(QString, age);
        QFETCH(QString, l);
        QFETCH(bool, accepted);
        Subject s;
        s.sex = sex;
        s.age = age;
        RawScoreForm& w = open("frmzol19", s);
        type(w, {"3", "3", "3", l});
        click(w.Command1);
        if (!accepted) {
            checkRefused(w, "frmzol401");
            return;
        }
        QCOMPARE(dialogs->count(), 0);
        QVERIFY(!w.isVisible());
        QCOMPARE(frmzol401().Label10->text(), l);
        QCOMPARE(frmzol401().Label15->text(),
                 QString::number(*normScore(*normGroupOf(sex, age), Scale::L, l.toInt())));
    }

    void profileWindowFillsFrmzol401()
    {
        // A previous subject's scores and texts.
        gPScore = gEScore = gNScore = gLScore = 99;
        gLRaw = 12;
        RawScoreForm& w = open("frmzol19");
        QCOMPARE(int(gLScore), 99);   // frmzol19's load clears nothing
        type(w, {"12", "18", "24", ""});
        click(w.Command1);
        QCOMPARE(dialogs->count(), 0);
        QVERIFY(!w.isVisible());
        QVERIFY(DefaultForm<Frmzol19Form>::loaded());

        ResultForm& r = frmzol401();
        QVERIFY(r.isVisible());
        QCOMPARE(gAge, QStringLiteral("25"));
        QCOMPARE(gSex, QStringLiteral("男"));
        // The empty L box is 0, and its standard score 0, not the 99 of before.
        QCOMPARE(scoreTexts(r), (QStringList{"12", "18", "24", "0", "75", "70", "80", "0"}));
        QCOMPARE(r.Text1->text(), interpretationSentence(Scale::P, 75));
        QCOMPARE(r.Text2->text(), interpretationSentence(Scale::E, 70));
        QCOMPARE(r.Text3->text(), interpretationSentence(Scale::N, 80));
        QCOMPARE(r.Text4->text(), interpretationSentence(Scale::L, 0));
        QCOMPARE(r.Label18->text(), QStringLiteral("李四"));
        QCOMPARE(r.Label35->text(), QStringLiteral("门诊"));
        QCOMPARE(r.Label33->text(), QStringLiteral("1"));
        verifyProfile(r, {2892, 3072, 2712, 5592});
        QCOMPARE(int(gPlotL), 5592);
    }

    void enWindowFillsFrmzol211()
    {
        gPScore = gEScore = gNScore = gLScore = 99;
        gPlotP = 11;
        Subject s;
        s.sex = QStringLiteral("女");
        s.age = QStringLiteral("65");
        RawScoreForm& w = open("frmzol22", s);
        // frmzol22's load clears the eight scores.
        QCOMPARE(int(gLScore), 0);
        QCOMPARE(int(gPRaw), 0);
        type(w, {"", "21", "23", "6"});
        click(w.Command1);
        QCOMPARE(dialogs->count(), 0);
        QVERIFY(!w.isVisible());
        ResultForm& r = frmzol211();
        QVERIFY(r.isVisible());
        QCOMPARE(scoreTexts(r), (QStringList{"0", "21", "23", "6", "0", "80", "80", "25"}));
        QCOMPARE(r.Label20->text(), QStringLiteral("女"));
        QCOMPARE(r.Label22->text(), QStringLiteral("65"));
        QCOMPARE(r.Text1->text(), interpretationSentence(Scale::P, 0));
        QCOMPARE(r.Text4->text(), interpretationSentence(Scale::L, 25));
        // E 80 and N 80: the point the window drew while it loaded.
        verifyEnPoint(r, QPoint(5160, 2400));
        QCOMPARE(int(gPlotP), 11);
    }

    void exitUnloadsTheTestWithoutAsking()
    {
        RawScoreForm& w = open("frmzol22");
        click(w.Command2);
        flushDeletes();
        QCOMPARE(dialogs->count(), 0);
        QVERIFY(loadedFormNames().isEmpty());
    }

    void closeBoxAsksTheQuitQuestion()
    {
        RawScoreForm& w = open("frmzol19");
        QTest::keyClicks(w.Text1, "7");
        dialogs->messageAnswers << vbCancel;
        QVERIFY(!w.close());
        verifyOneMessage(*dialogs, QStringLiteral("测试还没有结束，你真的要提前结束个性测试吗！"),
                         QStringLiteral("提示"), vbOKCancel | vbInformation);
        QVERIFY(w.isVisible());
        QCOMPARE(w.Text1->text(), QStringLiteral("7"));
        w.close();   // OK
        flushDeletes();
        QVERIFY(loadedFormNames().isEmpty());
    }
};

ZOL_TEST(RawKeyFilterTest)
ZOL_TEST(RawScoreOkTest)
#include "tst_rawscores.moc"
