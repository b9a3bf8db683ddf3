// The four result windows: their charts, saving the test and the exit.
#include "testwindows.h"

#include "platform/dbtestsupport.h"
#include "platform/elidedlabel.h"
#include "testing/interpretation.h"
#include "testing/questionnaire.h"
#include "testing/rawscores.h"

#include <QFile>
#include <QTest>

using namespace zol;
using namespace zoltest;
using dbtest::rowCount;

namespace {

const QColor kRed(255, 0, 0);

// A stand-in for the other windows of a test, so that the exit can be seen
// unloading them.
class Placeholder : public Form {
public:
    explicit Placeholder(const QString& name) : Form(name) {}
};

void loadPlaceholders(const QStringList& names)
{
    for (const QString& n : names)
        new Placeholder(n);
}

// The other windows of a test, loaded for the exit to unload.
void loadTestWindows()
{
    frmzol1();
    frmzol2();
    frmzol20();
    Frmzol3();
    Frmzol23();
    frmzol19();
    frmzol22();
}

// Fills the labels of a result window as the scorers do.
void fillLabels(ResultForm& w)
{
    w.Label18->setText(QStringLiteral("王'小明"));
    w.Label20->setText(gSex);
    w.Label22->setText(gAge);
    w.Label24->setText(QStringLiteral("本科"));
    w.Label26->setText(QStringLiteral("汉族"));
    w.Label28->setText(QStringLiteral("教师"));
    w.Label33->setText(QStringLiteral("7"));
    w.Label35->setText(QStringLiteral("咨询"));
    w.Label7->setText(QString::number(gPRaw));
    w.Label8->setText(QString::number(gERaw));
    w.Label9->setText(QString::number(gNRaw));
    w.Label10->setText(QString::number(gLRaw));
    w.Label12->setText(QString::number(gPScore));
    w.Label13->setText(QString::number(gEScore));
    w.Label14->setText(QString::number(gNScore));
    w.Label15->setText(QString::number(gLScore));
}

// A man aged 25 answering every item 是: raw P 12, E 18, N 24, L 5.
void everyItemYesMan25()
{
    gAge = QStringLiteral("25");
    gSex = QStringLiteral("男");
    setRaw(12, 18, 24, 5);
    setScores(0, 0, 0, 0);
    ApplyNorms();
}

} // namespace

class ResultChartTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { unloadAllWindows(); }

    void profileSegmentsFollowTheScores_data()
    {
        QTest::addColumn<QList<int>>("scores");  // P, E, N, L
        QTest::addColumn<QList<int>>("ys");      // gPlotP .. gPlotL
        QTest::newRow("all zero") << QList<int>{0, 0, 0, 0} << QList<int>{5592, 5592, 5592, 5592};
        QTest::newRow("every item yes, man 25")
            << QList<int>{75, 70, 80, 30} << QList<int>{2892, 3072, 2712, 4512};
        QTest::newRow("all fifty") << QList<int>{50, 50, 50, 50} << QList<int>{3792, 3792, 3792, 3792};
        QTest::newRow("top and bottom") << QList<int>{120, 0, 100, 5}
                                        << QList<int>{1272, 5592, 1992, 5412};
    }
    void profileSegmentsFollowTheScores()
    {
        QFETCH(QList<int>, scores);
        QFETCH(QList<int>, ys);
        setScores(scores[0], scores[1], scores[2], scores[3]);
        frmzol4().Show();
        ProfileChart(frmzol4());
        QCOMPARE((QList<int>{gPlotP, gPlotE, gPlotN, gPlotL}), ys);
        verifyProfile(frmzol4(), ys);
        // The profile survives a repaint: the red segment is on screen.
        const QImage img = frmzol4().grab().toImage();
        bool red = false;
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                red = red || img.pixelColor(96 + dx, qRound(ys[0] / 15.0) + dy) == kRed;
        QVERIFY(red);
    }

    void enPointIsDrawnWhileLoading_data()
    {
        QTest::addColumn<QString>("sex");
        QTest::addColumn<QString>("age");
        QTest::addColumn<QList<int>>("raw");     // P, E, N, L
        QTest::addColumn<QPoint>("centre");
        // No norm applies below 16: every score 0, the lower left corner.
        QTest::newRow("scores zero") << QStringLiteral("男") << "15" << QList<int>{3, 3, 3, 3}
                                     << QPoint(2280, 5280);
        // Man 16-19: E raw 11 -> 50, N raw 11 -> 50: the crossing of the axes.
        QTest::newRow("E 50 N 50") << QStringLiteral("男") << "18" << QList<int>{1, 11, 11, 1}
                                   << QPoint(4080, 3480);
        // Woman 60+: N raw 23 -> 80, E raw 21 -> 80.
        QTest::newRow("E 80 N 80") << QStringLiteral("女") << "70" << QList<int>{1, 21, 23, 1}
                                   << QPoint(5160, 2400);
        // Man 40-49: N raw 24 -> 80, E raw 1 -> 35.
        QTest::newRow("E 35 N 80") << QStringLiteral("男") << "45" << QList<int>{1, 1, 24, 1}
                                   << QPoint(5160, 4020);
    }
    void enPointIsDrawnWhileLoading()
    {
        QFETCH(QString, sex);
        QFETCH(QString, age);
        QFETCH(QList<int>, raw);
        QFETCH(QPoint, centre);
        gSex = sex;
        gAge = age;
        setRaw(raw[0], raw[1], raw[2], raw[3]);
        setScores(99, 99, 99, 99);  // a previous subject's scores must not survive
        gPlotP = 11;
        gPlotL = 22;
        frmzol21();
        QCOMPARE(QPoint(gPlotN, gPlotE), centre);
        QCOMPARE(gPlotP, qint16(11));  // untouched by the E-N chart
        QCOMPARE(gPlotL, qint16(22));
        verifyEnPoint(frmzol21(), centre);
        QVERIFY(gPScore != 99 && gEScore != 99 && gNScore != 99 && gLScore != 99);
    }

    void nHundredLiesOnTheRedLine()
    {
        frmzol211();  // the norms run again at load; set the scores by hand afterwards
        setScores(0, 50, 100, 0);
        ENChart(frmzol211());
        QCOMPARE(int(gPlotN), 5880);
        QCOMPARE(int(gPlotE), 3480);
    }

    void textsAreChosenAtLoad()
    {
        setScores(38, 50, 62, 39);
        ResultForm& w = frmzol4();
        QCOMPARE(w.Text1->text(), interpretationSentence(Scale::P, 38));
        QCOMPARE(w.Text2->text(), interpretationSentence(Scale::E, 50));
        QCOMPARE(w.Text3->text(), interpretationSentence(Scale::N, 62));
        QCOMPARE(w.Text4->text(), interpretationSentence(Scale::L, 39));
        QVERIFY(w.Text1->text().startsWith(QStringLiteral("1：")));
        QVERIFY(w.Text4->text().startsWith(QStringLiteral("4：")));
        QVERIFY(w.Command1->isEnabled());
    }

    void layoutsDifferOnlyWhereTheyShould()
    {
        ResultForm& p = frmzol401();
        ResultForm& e = frmzol211();
        QCOMPARE(p.windowTitle(), QStringLiteral("Vormel人格测验成人版测试报告"));
        QCOMPARE(e.windowTitle(), p.windowTitle());
        QCOMPARE(p.size(), QSize(479, 526));
        QCOMPARE(e.size(), QSize(523, 524));
        QCOMPARE(p.Label29->text(), QStringLiteral("受试人格剖面图"));
        QCOMPARE(e.Label29->text(), QStringLiteral("E-N关系图"));
        QCOMPARE(p.Command2->text(), QStringLiteral("退   出"));
        QCOMPARE(p.Command1->geometry().topLeft(), QPoint(96, 488));
        QCOMPARE(e.Command1->geometry().topLeft(), QPoint(96, 496));
        QCOMPARE(p.Label7->geometry().topLeft(), QPoint(88, 384));
        QCOMPARE(e.Label7->geometry().topLeft(), QPoint(104, 392));
        QCOMPARE(p.surface().staticFigures().size(), 13);
        QVERIFY(p.surface().drawn().isEmpty());  // the scorer draws the profile
    }
};

class ResultSaveTest : public WindowFixture {
    Q_OBJECT
private slots:
    void init() { startWindows(); }
    void cleanup() { stopWindows(); }

    void saveStoresTheRowAsShown()
    {
        everyItemYesMan25();
        ResultForm& w = frmzol4();
        fillLabels(w);
        w.Show();
        ProfileChart(w);
        w.Text3->setText(QStringLiteral("3：咨询师改写的评价"));  // edited before saving
        w.Text25->setText(QStringLiteral("2026-12-07"));        // loaded the day before
        click(w.Command1);
        QVERIFY(!w.Command1->isEnabled());
        QCOMPARE(dialogs->count(), 0);

        const QStringList row = items(u"王'小明|男|25|本科|汉族|教师|7|咨询|12|18|24|5|75|70|80|30")
                                + QStringList{interpretationSentence(Scale::P, 75),
                                              interpretationSentence(Scale::E, 70),
                                              QStringLiteral("3：咨询师改写的评价"),
                                              interpretationSentence(Scale::L, 30),
                                              QStringLiteral("2026-12-07")};
        QCOMPARE(dbtest::storedRows(), QList<QStringList>{row});
    }

    void dateIsTheDayOfLoading()
    {
        setScores(0, 0, 0, 0);
        ResultForm& w = frmzol21();
        QCOMPARE(w.Text25->text(), QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
    }

    void zeroScoreIsStoredAsZeroWithTheFirstText()
    {
        gSex = QStringLiteral("女");
        gAge = QStringLiteral("30");
        setRaw(0, 0, 0, 0);
        ResultForm& w = frmzol211();
        fillLabels(w);
        w.Command1_Click();
        const QStringList row = dbtest::storedRows().value(0);
        const QStringList fields = testRecordFields();
        QCOMPARE(row.value(fields.indexOf(QStringLiteral("标准分E"))), QStringLiteral("0"));
        QCOMPARE(row.value(fields.indexOf(QStringLiteral("E评价"))), interpretationSentence(Scale::E, 0));
    }

    void refusedSaveKeepsTheButton()
    {
        QCOMPARE(rowCount(), 0);  // creates the file
        QFile::setPermissions(databasePath(), QFile::ReadOwner | QFile::ReadGroup);
        everyItemYesMan25();
        ResultForm& w = frmzol401();
        fillLabels(w);
        dialogs->clear();
        w.Command1_Click();
        QVERIFY(w.Command1->isEnabled());
        dbtest::verifyOneError(*dialogs);
        QFile::setPermissions(databasePath(), QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(rowCount(), 0);
        // Once the file can be written again, the retry stores exactly one row.
        w.Command1_Click();
        QVERIFY(!w.Command1->isEnabled());
        QCOMPARE(rowCount(), 1);
    }

    void unconvertibleValueIsRefused()
    {
        everyItemYesMan25();
        ResultForm& w = frmzol4();
        fillLabels(w);
        w.Label12->setText(QStringLiteral("abc"));
        w.Command1_Click();
        QVERIFY(w.Command1->isEnabled());
        QCOMPARE(dialogs->last().title, QStringLiteral("出错信息"));
        QCOMPARE(rowCount(), 0);
    }
};

class ResultExitTest : public WindowFixture {
    Q_OBJECT
private slots:
    void init() { startWindows(); }
    void cleanup() { stopWindows(); }

    void exitUnloadsTheTestWindows_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QStringList>("unloaded");
        QTest::newRow("frmzol4") << "frmzol4"
                                 << QStringList{"frmzol4", "Frmzol3", "frmzol2", "frmzol1", "frmzol20"};
        QTest::newRow("frmzol401") << "frmzol401"
                                   << QStringList{"frmzol401", "frmzol19", "frmzol20", "frmzol2", "frmzol1"};
        QTest::newRow("frmzol21") << "frmzol21"
                                  << QStringList{"frmzol21", "frmzol20", "Frmzol23", "frmzol2", "frmzol1"};
        QTest::newRow("frmzol211") << "frmzol211"
                                   << QStringList{"frmzol211", "frmzol2", "frmzol1", "frmzol22", "frmzol20"};
    }
    void exitUnloadsTheTestWindows()
    {
        QFETCH(QString, window);
        QFETCH(QStringList, unloaded);
        ResultForm* w = &resultWindow(window);
        const QStringList others = {"frmzol1", "frmzol2", "frmzol20", "Frmzol3", "Frmzol23",
                                    "frmzol19", "frmzol22", "frmzolmaincs"};
        loadTestWindows();
        loadPlaceholders({"frmzolmaincs"});
        w->Show();
        w->Text1->setText(QStringLiteral("edited"));

        // Cancel changes nothing.
        dialogs->messageAnswers << vbCancel;
        click(w->Command2);
        QCOMPARE(dialogs->last().prompt, QStringLiteral("你真的要提前结束测试吗！"));
        QCOMPARE(dialogs->last().title, QStringLiteral("提示"));
        QCOMPARE(dialogs->last().style, vbOKCancel | vbInformation);
        QVERIFY(findLoaded(window));
        QVERIFY(w->isVisible());
        QCOMPARE(w->Text1->text(), QStringLiteral("edited"));
        QVERIFY(w->Command1->isEnabled());

        // OK unloads exactly the list; after frmzol211 the subject window
        // comes back, loaded afresh for the next subject.
        dialogs->messageAnswers << vbOK;
        click(w->Command2);
        flushDeletes();
        const bool nextSubject = window == "frmzol211";
        for (const QString& n : others + QStringList{window})
            QCOMPARE(findLoaded(n) != nullptr,
                     !unloaded.contains(n) || (nextSubject && n == "frmzol2"));
        if (nextSubject) {
            QVERIFY(frmzol2().isVisible());
            QCOMPARE(frmzol2().Text1->text(), QString());
            QCOMPARE(frmzol2().Text7->text(), QStringLiteral("1"));
        }
    }

    void closeBoxAsksTheSameQuestion()
    {
        frmzol1();
        frmzol2();
        frmzol20();
        frmzol19();
        loadPlaceholders({"frmzolmaincs"});
        dialogs->clear();
        frmzol401().Show();
        dialogs->messageAnswers << vbCancel;
        QVERIFY(!frmzol401().close());
        QCOMPARE(dialogs->count(), 1);
        QVERIFY(DefaultForm<Frmzol401Form>::loaded());
        QVERIFY(frmzol401().isVisible());

        dialogs->messageAnswers << vbOK;
        frmzol401().close();
        flushDeletes();
        QCOMPARE(dialogs->count(), 2);
        QCOMPARE(loadedFormNames(), QStringList{QStringLiteral("frmzolmaincs")});
    }
};

// What the counsellor reads on a result window reached the way a test
// reaches it.
class ResultReadingTest : public ItemsFixture {
    Q_OBJECT

    // Finishes a test on the given road and returns its result window.
    static ResultForm& finish(const QString& road)
    {
        loadSetupWindows();
        const bool en = road.endsWith(QLatin1String("E-N"));
        if (road.startsWith(QLatin1String("questionnaire"))) {
            QuestionnaireForm& q = en ? static_cast<QuestionnaireForm&>(Frmzol23()) : Frmzol3();
            q.Show();
            q.Answers.fill(QStringLiteral("否"));   // P 70, N 0, L 60: long texts
            q.Command5_Click();
            return en ? static_cast<ResultForm&>(frmzol21()) : frmzol4();
        }
        RawScoreForm& w = en ? static_cast<RawScoreForm&>(frmzol22()) : frmzol19();
        w.Show();
        // Man aged 25: P 100, E 35, N 80, L 70.
        for (const auto& [box, raw] : {std::pair{w.Text1, "19"}, {w.Text2, "3"}, {w.Text3, "24"}, {w.Text4, "18"}})
            QTest::keyClicks(box, QLatin1String(raw));
        click(w.Command1);
        return en ? static_cast<ResultForm&>(frmzol211()) : frmzol401();
    }

private slots:
    void init() { startWithItems(); }
    void cleanup() { stopWindows(); }

    void textsShowFromTheirBeginning_data()
    {
        QTest::addColumn<QString>("road");
        for (const char* road : {"questionnaire, profile", "questionnaire, E-N", "typed-in, profile",
                                 "typed-in, E-N"})
            QTest::newRow(road) << QString::fromLatin1(road);
    }
    void textsShowFromTheirBeginning()
    {
        QFETCH(QString, road);
        ResultForm& r = finish(road);
        QVERIFY(r.isVisible());
        r.grab();   // the boxes scroll their text as they paint
        QLineEdit* boxes[4] = {r.Text1, r.Text2, r.Text3, r.Text4};
        for (int i = 0; i < 4; ++i) {
            QVERIFY(boxes[i]->text().startsWith(QString::number(i + 1) + QStringLiteral("：")));
            // The character at the box's left edge is the text's first.
            QVERIFY2(boxes[i]->cursorPositionAt(QPoint(4, boxes[i]->height() / 2)) <= 1,
                     qPrintable(boxes[i]->text()));
        }
    }

    // A value wider than its label stays in the label's designed place, is
    // drawn visibly cut before the caption beside it, and is saved whole.
    void aLongValueKeepsToItsLabel_data()
    {
        QTest::addColumn<QString>("road");
        QTest::newRow("profile") << QStringLiteral("typed-in, profile");
        QTest::newRow("E-N") << QStringLiteral("typed-in, E-N");
    }
    void aLongValueKeepsToItsLabel()
    {
        QFETCH(QString, road);
        ResultForm& r = finish(road);
        const QString name = QStringLiteral("欧阳司马诸葛上官慕容长孙宇文");
        const QRect designed = r.Label18->geometry();
        r.Label18->setText(name);
        r.grab();
        QCOMPARE(r.Label18->geometry(), designed);
        QVERIFY(designed.right() < r.Label19->geometry().left());
        const auto* label = qobject_cast<ElidedLabel*>(r.Label18);
        QVERIFY(label);
        const QString shown = label->shownText();
        QVERIFY2(shown.endsWith(QChar(0x2026)) && name.startsWith(shown.chopped(1)), qPrintable(shown));
        click(r.Command1);
        QCOMPARE(dbtest::storedRows().value(0).value(0), name);
    }
};

ZOL_TEST(ResultChartTest)
ZOL_TEST(ResultSaveTest)
ZOL_TEST(ResultExitTest)
ZOL_TEST(ResultReadingTest)
#include "tst_resultwindows.moc"
