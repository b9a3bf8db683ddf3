// Whole tests, from the start-test command to the stored row, driven as the
// counsellor and the tested person do.
#include "testwindows.h"

#include "platform/convert.h"
#include "platform/dbtestsupport.h"
#include "testing/interpretation.h"
#include "testing/questionnaire.h"
#include "testing/rawscores.h"
#include "testing/starttest.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace zol;
using namespace zoltest;
using dbtest::storedRows;

namespace {

// From the start-test command to the mode window on screen.
void setUpTest(const Subject& s)
{
    startTest();
    passNoticeAndSubject(s);
}

} // namespace

class TestFlowTest : public ItemsFixture {
    Q_OBJECT
private slots:
    void init() { startWithItems(); }
    void cleanup() { stopWindows(); }

    void questionnaireRunEndsInAStoredRow()
    {
        Subject s;
        s.name = QStringLiteral("李四");
        s.age = QStringLiteral("25");
        s.number = QStringLiteral("17");
        setUpTest(s);
        click(frmzol20().Option2);
        click(frmzol20().Option3);
        whileModal([] { click(frmzol20().Command1); },
                   [] {
                       QuestionnaireForm& q = Frmzol3();
                       QVERIFY(q.isVisible());
                       for (int n = 1; n <= kItemCount; ++n)
                           click(q.Command1);
                       click(q.Command5);
                   });
        ResultForm& r = frmzol4();
        QVERIFY(r.isVisible());
        QCOMPARE(loadedFormNames(),
                 (QStringList{"frmzol1", "frmzol2", "frmzol20", "Frmzol3", "frmzol4"}));
        click(r.Command1);
        QVERIFY(!r.Command1->isEnabled());
        QCOMPARE(dialogs->count(), 0);

        // The 21 fields: subject, raw and standard scores, texts, date.
        const QStringList row = items(u"李四|男|25|本科|回族|教师|17|门诊|12|18|24|5|75|70|80|30")
                                + QStringList{interpretationSentence(Scale::P, 75),
                                              interpretationSentence(Scale::E, 70),
                                              interpretationSentence(Scale::N, 80),
                                              interpretationSentence(Scale::L, 30), TodayShortDate()};
        QCOMPARE(storedRows(), QList<QStringList>{row});

        // The exit ends the test; the next one starts from nothing.
        click(r.Command2);
        flushDeletes();
        QVERIFY(loadedFormNames().isEmpty());
        s.sex = QStringLiteral("女");
        s.age = QStringLiteral("45");
        s.number = QString();
        setUpTest(s);
        QCOMPARE(frmzol2().Text7->text(), QStringLiteral("2"));
        click(frmzol20().Option2);
        click(frmzol20().Option4);
        whileModal([] { click(frmzol20().Command1); },
                   [] {
                       QuestionnaireForm& q = Frmzol23();
                       QCOMPARE(int(q.CurItem), 1);
                       QCOMPARE(int(gPRaw), 0);
                       for (int n = 1; n <= kItemCount; ++n)
                           click(q.Command2);
                       click(q.Command5);
                   });
        ResultForm& r2 = frmzol21();
        // Woman aged 40 to 49 answering every item 否: P 11, E 3, N 0, L 15.
        QCOMPARE(scoreTexts(r2), (QStringList{"11", "3", "0", "15", "80", "40", "0", "50"}));
        QCOMPARE(r2.Label20->text(), QStringLiteral("女"));
    }

    void typedInRunReturnsToANewSubject()
    {
        setUpTest({});
        click(frmzol20().Option1);
        click(frmzol20().Option4);
        whileModal([] { click(frmzol20().Command1); },
                   [] {
                       RawScoreForm& w = frmzol22();
                       QTest::keyClicks(w.Text1, "9");
                       QTest::keyClicks(w.Text2, "11");
                       QTest::keyClicks(w.Text3, "12");
                       QTest::keyClicks(w.Text4, "4");
                       click(w.Command1);
                   });
        ResultForm& r = frmzol211();
        QVERIFY(r.isVisible());
        QCOMPARE(r.Label13->text(), QStringLiteral("50"));   // man 25, E raw 11
        click(r.Command1);
        QCOMPARE(storedRows().size(), 1);
        QCOMPARE(storedRows().first()[8], QStringLiteral("9"));

        click(r.Command2);
        flushDeletes();
        // A fresh subject window for the next subject, numbered after the row.
        QCOMPARE(loadedFormNames(), QStringList{QStringLiteral("frmzol2")});
        QVERIFY(frmzol2().isVisible());
        QCOMPARE(frmzol2().Text1->text(), QString());
        QCOMPARE(frmzol2().Text3->text(), QString());
        QCOMPARE(frmzol2().Text7->text(), QStringLiteral("2"));
        QVERIFY(!frmzol2().Command1->isEnabled());
        // And the next test runs from it.
        enterSubject({});
        click(frmzol2().Command1);
        QVERIFY(frmzol20().isVisible());
        QVERIFY(!frmzol20().Command1->isEnabled());
    }

    void startTestNeverStacksTests()
    {
        startTest();
        Frmzol1Form* notice = &frmzol1();
        startTest();
        QCOMPARE(&frmzol1(), notice);
        QCOMPARE(loadedFormNames(), QStringList{QStringLiteral("frmzol1")});

        click(notice->Option1);
        click(notice->Command1);
        typeInto(frmzol2().Text1, QStringLiteral("王五"));
        startTest();
        // The subject window on show stays the one in front, with its data.
        QVERIFY(!notice->isVisible());
        QVERIFY(frmzol2().isVisible());
        QCOMPARE(frmzol2().Text1->text(), QStringLiteral("王五"));

        // After the subject window's exit the notice comes back as left.
        click(frmzol2().Command2);
        flushDeletes();
        startTest();
        QCOMPARE(&frmzol1(), notice);
        QVERIFY(notice->isVisible());
        QVERIFY(notice->Option1->isChecked());
        QVERIFY(notice->Command1->isEnabled());

        // The mode window closed by its title bar leaves the notice and the
        // subject window hidden; the test is taken up from the notice.
        click(notice->Command1);
        enterSubject({});
        click(frmzol2().Command1);
        frmzol20().close();
        flushDeletes();
        startTest();
        QVERIFY(notice->isVisible());
        click(notice->Command1);
        QCOMPARE(frmzol2().Text1->text(), QStringLiteral("李四"));

        // While a result is on show, nothing new starts.
        click(frmzol2().Command1);
        click(frmzol20().Option1);
        click(frmzol20().Option3);
        whileModal([] { click(frmzol20().Command1); },
                   [] {
                       QTest::keyClicks(frmzol19().Text1, "5");
                       click(frmzol19().Command1);
                   });
        QVERIFY(frmzol401().isVisible());
        const QStringList loaded = loadedFormNames();
        startTest();
        QCOMPARE(loadedFormNames(), loaded);
        QVERIFY(frmzol401().isVisible());
        for (const char* hidden : {"frmzol1", "frmzol2", "frmzol20", "frmzol19"})
            QVERIFY(!findLoaded(QString::fromLatin1(hidden))->isVisible());
    }
};

ZOL_TEST(TestFlowTest)
#include "tst_testflow.moc"
