// The scoring key, the item file and the questionnaire windows Frmzol3 and
// Frmzol23, answered as the tested person does.
#include "testwindows.h"

#include "testing/interpretation.h"
#include "testing/questionnaire.h"
#include "testing/scoringkey.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <map>

using namespace zol;
using namespace zoltest;

namespace {

const QString kYes = QStringLiteral("是");
const QString kNo = QStringLiteral("否");
const QString kQuit = QStringLiteral("测试还没有结束，你真的要提前结束个性测试吗！");

// The scoring sheet, copied here by hand and not from the program, in the
// order P, E, N, L: the items keyed 是 and the items keyed 否 of each scale.
struct SheetScale {
    QList<int> yes;
    QList<int> no;
};
const SheetScale kSheet[4] = {
    {{22, 26, 30, 34, 46, 50, 66, 68, 75, 76, 81, 85}, {2, 6, 9, 11, 18, 38, 42, 56, 62, 72, 88}},
    {{1, 5, 10, 13, 14, 17, 25, 33, 37, 41, 49, 53, 55, 61, 65, 71, 80, 84}, {21, 29, 45}},
    {{3, 7, 12, 15, 19, 23, 27, 31, 35, 39, 43, 47, 51, 57, 59, 63, 67, 69, 73, 74, 77, 78, 82, 86}, {}},
    {{20, 32, 36, 58, 87}, {4, 8, 16, 24, 28, 40, 44, 48, 52, 54, 60, 64, 70, 79, 83}},
};

} // namespace

class ScoringKeyTest : public QObject {
    Q_OBJECT
private slots:
    void everyItemBelongsToExactlyOneScale()
    {
        std::map<int, int> seen;
        std::map<Scale, int> sizes;
        for (const ScaleKey& s : ScoringKey()) {
            for (const auto* list : {&s.keyedYes, &s.keyedNo})
                for (int n : *list) {
                    ++seen[n];
                    ++sizes[s.scale];
                    QCOMPARE(int(itemKey(n).scale), int(s.scale));
                    QCOMPARE(itemKey(n).keyed, list == &s.keyedYes ? kYes : kNo);
                }
        }
        QCOMPARE(int(seen.size()), kItemCount);
        for (const auto& [item, times] : seen) {
            QVERIFY(item >= 1 && item <= kItemCount);
            QCOMPARE(times, 1);
        }
        // The questionnaire's maxima.
        QCOMPARE(sizes[Scale::P], 23);
        QCOMPARE(sizes[Scale::E], 21);
        QCOMPARE(sizes[Scale::N], 24);
        QCOMPARE(sizes[Scale::L], 20);
    }

    // One item answered, the others left open: the answer scores a point on
    // the sheet's scale exactly when the sheet keys it so. Moving an item to
    // another scale or turning its keyed answer round fails here.
    void oneAnswerScoresAsTheSheetSays_data()
    {
        QTest::addColumn<int>("item");
        for (int n = 1; n <= kItemCount; ++n)
            QTest::addRow("item %d", n) << n;
    }
    void oneAnswerScoresAsTheSheetSays()
    {
        QFETCH(int, item);
        for (const QString& answer : {kYes, kNo}) {
            std::array<QString, kItemCount + 1> answers{};
            answers[item] = answer;
            QList<int> expected;   // P, E, N, L
            for (const SheetScale& scale : kSheet)
                expected << int((answer == kYes ? scale.yes : scale.no).contains(item));
            const RawScores raw = scoreAnswers(answers);
            QCOMPARE((QList<int>{raw.p, raw.e, raw.n, raw.l}), expected);
        }
    }
};

class ItemFileTest : public WindowFixture {
    Q_OBJECT
private slots:
    void init() { startWindows(); }
    void cleanup() { stopWindows(); }

    // We ship placeholders of our own, never the published wording.
    void shippedFileHoldsPlaceholders()
    {
        QVERIFY(installShippedItems(folder->path()));
        QStringList items;
        QString message;
        QVERIFY(readItemFile(itemFilePath(), &items, &message));
        QCOMPARE(items.size(), kItemCount);
        for (int n = 1; n <= kItemCount; ++n) {
            QVERIFY(items[n - 1].startsWith(QStringLiteral("第%1题：").arg(n)));
            QVERIFY(items[n - 1].contains(QStringLiteral("经授权的题目原文")));
        }
    }

    void fileMustHold88Items_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("says");
        auto lines = [](int count, const QByteArray& ending) {
            QByteArray b;
            for (int i = 1; i <= count; ++i)
                b += "题目" + QByteArray::number(i) + ending;
            return b;
        };
        QTest::newRow("88 lines") << lines(88, "\n") << true << "";
        QTest::newRow("CRLF, BOM, blank lines")
            << QByteArray("\xEF\xBB\xBF\r\n") + lines(44, "\r\n") + "   \r\n" + lines(44, "\r\n")
            << true << "";
        QTest::newRow("87 lines") << lines(87, "\n") << false << QStringLiteral("有87道题目");
        QTest::newRow("89 lines") << lines(89, "\n") << false << QStringLiteral("有89道题目");
        QTest::newRow("empty file") << QByteArray() << false << QStringLiteral("有0道题目");
        QTest::newRow("not UTF-8") << QByteArray("\xD6\xD0\xCE\xC4\n") + lines(87, "\n") << false
                                   << QStringLiteral("UTF-8");
    }
    void fileMustHold88Items()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, accepted);
        QFETCH(QString, says);
        QVERIFY(writeFile(itemFilePath(), content));
        QStringList items;
        QString message;
        QCOMPARE(readItemFile(itemFilePath(), &items, &message), accepted);
        if (accepted) {
            QCOMPARE(items.size(), kItemCount);
            QCOMPARE(items.first(), QStringLiteral("题目1"));
            // Blanks and line ends are not part of an item.
            QVERIFY(items.last() == QStringLiteral("题目44") || items.last() == QStringLiteral("题目88"));
        } else {
            QVERIFY2(message.contains(says), qPrintable(message));
            QVERIFY(items.isEmpty());
        }
    }
};

class QuestionnaireTest : public ItemsFixture {
    Q_OBJECT

    // The questionnaire on screen for a man aged 25.
    QuestionnaireForm& open(bool profile = true)
    {
        loadSetupWindows();
        QuestionnaireForm& q = profile ? static_cast<QuestionnaireForm&>(Frmzol3())
                                       : static_cast<QuestionnaireForm&>(Frmzol23());
        q.Show();
        return q;
    }
    static void answerAll(QuestionnaireForm& q, QPushButton* button)
    {
        for (int n = 1; n <= kItemCount; ++n)
            click(button);
        QCOMPARE(int(q.CurItem), kItemCount);
    }
    static void checkItemShown(QuestionnaireForm& q, int n, bool indented, const QString& answer)
    {
        QCOMPARE(int(q.CurItem), n);
        QCOMPARE(q.Label2->text(), QString::number(n) + QStringLiteral("."));
        QCOMPARE(q.Label3->text(), (indented ? QStringLiteral("    ") : QString()) + q.Items[n]);
        QCOMPARE(q.Label4->text(), answer);
    }

private slots:
    void init() { startWithItems(); }
    void cleanup() { stopWindows(); }

    void opensOnItemOne()
    {
        gPRaw = gERaw = gNRaw = gLRaw = 7;
        gPScore = gEScore = gNScore = gLScore = 55;
        QuestionnaireForm& q = open();
        QCOMPARE(q.windowTitle(), QStringLiteral("ZOL人格问卷成人版"));
        QCOMPARE(q.Frame1->title(), QStringLiteral("测题"));
        QCOMPARE(q.Items[1], QStringLiteral("第1题：（此处填入经授权的题目原文）"));
        QCOMPARE(q.Items[88], QStringLiteral("第88题：（此处填入经授权的题目原文）"));
        checkItemShown(q, 1, false, QString());
        QVERIFY(!q.Command5->isEnabled());
        for (QPushButton* b : {q.Command1, q.Command2, q.Command3, q.Command4, q.Command6})
            QVERIFY(b->isEnabled());
        QCOMPARE(q.focusWidget(), q.Command1);
        QCOMPARE(rawScores(), (QList<int>{0, 0, 0, 0}));
        QCOMPARE(standardScores(), (QList<int>{0, 0, 0, 0}));
        QCOMPARE(gAge, QStringLiteral("25"));
        QCOMPARE(gSex, QStringLiteral("男"));
    }

    void answeringMovesOnUntilTheLastItem()
    {
        QuestionnaireForm& q = open();
        click(q.Command1);
        checkItemShown(q, 2, true, QString());    // reached by answering: four blanks
        QCOMPARE(q.Answers[1], kYes);
        for (int n = 2; n < kItemCount; ++n)
            click(q.Command2);
        checkItemShown(q, 88, true, QString());
        QVERIFY(!q.Command5->isEnabled());
        // 是 on the last item stays there and closes both answer buttons.
        click(q.Command1);
        checkItemShown(q, 88, true, kYes);
        QVERIFY(q.Command5->isEnabled());
        QVERIFY(!q.Command1->isEnabled());
        QVERIFY(!q.Command2->isEnabled());
        QVERIFY(q.Command3->isEnabled() && q.Command4->isEnabled());
    }

    void noOnTheLastItemKeepsTheAnswerButtons()
    {
        QuestionnaireForm& q = open();
        answerAll(q, q.Command2);
        checkItemShown(q, 88, true, kNo);
        QVERIFY(q.Command5->isEnabled());
        QVERIFY(q.Command1->isEnabled() && q.Command2->isEnabled());
        // Going back opens them again after 是 had closed them.
        click(q.Command1);
        QCOMPARE(q.Answers[88], kYes);
        QVERIFY(q.Command1->isEnabled());   // a replacement closes nothing
        click(q.Command3);
        checkItemShown(q, 87, false, kNo);
    }

    void movingStopsAtBothEnds()
    {
        QuestionnaireForm& q = open();
        click(q.Command3);
        checkItemShown(q, 1, false, QString());
        QVERIFY(!q.Command3->isEnabled());
        click(q.Command4);
        QVERIFY(q.Command3->isEnabled());
        checkItemShown(q, 2, false, QString());   // reached by moving: no blanks
        for (int n = 2; n < kItemCount; ++n)
            click(q.Command4);
        checkItemShown(q, 88, false, QString());
        QVERIFY(q.Command4->isEnabled());
        click(q.Command4);
        checkItemShown(q, 88, false, QString());
        QVERIFY(!q.Command4->isEnabled());
        QVERIFY(!q.Command5->isEnabled());   // moving never enables 完成
        for (const QString& a : q.Answers)
            QVERIFY(a.isEmpty());
    }

    void skippedItemIsAnsweredLater()
    {
        QuestionnaireForm& q = open();
        for (int n = 1; n <= 4; ++n)
            click(q.Command1);
        click(q.Command4);                     // skip item 5
        checkItemShown(q, 6, false, QString());
        click(q.Command2);                     // 6
        click(q.Command1);                     // 7
        click(q.Command3);
        click(q.Command3);
        click(q.Command3);
        checkItemShown(q, 5, false, QString());
        click(q.Command2);                     // answers 5, moves on to 6
        QCOMPARE(q.Answers[5], kNo);
        checkItemShown(q, 6, true, kNo);
        QVERIFY(!q.Command5->isEnabled());
        // Answering 6 again replaces its answer and stays there.
        click(q.Command1);
        checkItemShown(q, 6, true, kYes);
        QCOMPARE(q.Answers[6], kYes);
        QCOMPARE(q.Answers[7], kYes);
        QVERIFY(q.Answers[8].isEmpty());
        QVERIFY(q.Command5->isEnabled());      // although 8 to 88 are unanswered
    }

    void finishScoresWhatWasAnswered_data()
    {
        QTest::addColumn<QString>("answer");   // 是, 否, or empty for none
        QTest::addColumn<QList<int>>("raw");   // P, E, N, L
        QTest::addColumn<QList<int>>("standard");
        // Man aged 25: NormMale20.
        QTest::newRow("every item 是") << kYes << QList<int>{12, 18, 24, 5}
                                      << QList<int>{75, 70, 80, 30};
        QTest::newRow("every item 否") << kNo << QList<int>{11, 3, 0, 15}
                                      << QList<int>{70, 35, 0, 60};
        QTest::newRow("no answers") << QString() << QList<int>{0, 0, 0, 0}
                                    << QList<int>{0, 0, 0, 0};
    }
    void finishScoresWhatWasAnswered()
    {
        QFETCH(QString, answer);
        QFETCH(QList<int>, raw);
        QFETCH(QList<int>, standard);
        QuestionnaireForm& q = open();
        if (!answer.isEmpty())
            answerAll(q, answer == kYes ? q.Command1 : q.Command2);
        // Whatever is left in the counters does not count.
        gPRaw = gERaw = gNRaw = gLRaw = 40;
        gNScore = 99;
        if (answer.isEmpty())
            q.Command5_Click();               // the button itself is still disabled
        else
            click(q.Command5);
        QVERIFY(!q.isVisible());
        QVERIFY(DefaultForm<Frmzol3Form>::loaded());
        QCOMPARE(rawScores(), raw);
        QCOMPARE(standardScores(), standard);

        ResultForm& r = frmzol4();
        QVERIFY(r.isVisible());
        QCOMPARE(scoreTexts(r), numbers(raw + standard));
        QCOMPARE(r.Text3->text(), interpretationSentence(Scale::N, standard[2]));
        QCOMPARE(subjectTexts(r), items(u"李四|男|25|本科|回族|教师|1|门诊"));
        // The profile is drawn once, on the shown window.
        QList<int> ys;
        for (int s : standard)
            ys << 5592 - 36 * s;
        verifyProfile(r, ys);
    }

    void everyYesProfileOfAManAged25()
    {
        QuestionnaireForm& q = open();
        answerAll(q, q.Command1);
        click(q.Command5);
        verifyProfile(frmzol4(), {2892, 3072, 2712, 4512});
    }

    void enWindowFeedsTheEnChart()
    {
        gPlotP = 11;
        gPlotL = 22;
        QuestionnaireForm& q = open(false);
        QCOMPARE(q.formName(), QStringLiteral("Frmzol23"));
        answerAll(q, q.Command1);
        click(q.Command5);
        QVERIFY(!DefaultForm<Frmzol4Form>::loaded());
        ResultForm& r = frmzol21();
        QVERIFY(r.isVisible());
        QCOMPARE(r.Label13->text(), QStringLiteral("70"));
        QCOMPARE(r.Label14->text(), QStringLiteral("80"));
        // E 70, N 80: the point lies right of and above the crossing.
        verifyEnPoint(r, QPoint(5160, 2760));
        QCOMPARE(int(gPlotP), 11);
        QCOMPARE(int(gPlotL), 22);
    }

    void showingAgainStartsAfresh()
    {
        QuestionnaireForm& q = open();
        for (int n = 1; n <= 10; ++n)
            click(q.Command1);
        click(q.Command3);
        click(q.Command1);
        QVERIFY(q.Command5->isEnabled());
        q.Hide();
        gERaw = 9;
        gEScore = 45;
        typeInto(frmzol2().Text3, QStringLiteral("61"));
        click(frmzol2().Option2);
        q.Show();
        checkItemShown(q, 1, false, QString());
        for (const QString& a : q.Answers)
            QVERIFY(a.isEmpty());
        QVERIFY(!q.Command5->isEnabled());
        QCOMPARE(int(gERaw), 0);
        QCOMPARE(int(gEScore), 0);
        QCOMPARE(gAge, QStringLiteral("61"));
        QCOMPARE(gSex, QStringLiteral("女"));
    }

    // The quit button and the close box ask first; OK ends the whole test.
    void quitAsksFirst_data()
    {
        QTest::addColumn<bool>("profile");
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("Frmzol3, quit button") << true << false;
        QTest::newRow("Frmzol23, close box") << false << true;
    }
    void quitAsksFirst()
    {
        QFETCH(bool, profile);
        QFETCH(bool, closeBox);
        QuestionnaireForm& q = open(profile);
        click(q.Command1);
        dialogs->messageAnswers << vbCancel;
        if (closeBox)
            QVERIFY(!q.close());
        else
            click(q.Command6);
        verifyOneMessage(*dialogs, kQuit, QStringLiteral("提示"), vbOKCancel | vbInformation);
        QVERIFY(q.isVisible());
        checkItemShown(q, 2, true, QString());

        if (closeBox)   // OK
            q.close();
        else
            click(q.Command6);
        flushDeletes();
        QCOMPARE(dialogs->count(), 2);
        QVERIFY(loadedFormNames().isEmpty());
    }
};

ZOL_TEST(ScoringKeyTest)
ZOL_TEST(ItemFileTest)
ZOL_TEST(QuestionnaireTest)
#include "tst_questionnaire.moc"
