// The interpretation sentences: bands, wording, and the four boxes.
#include "testwindows.h"

#include "testing/interpretation.h"

#include <QLineEdit>
#include <QTest>

using namespace zol;
using zoltest::setScores;

namespace {

struct Sentence {
    Scale scale;
    int band;
    const char16_t* text;
};

// The sentences word for word, slips included: stored tests hold them.
const Sentence kSentences[] = {
    {Scale::P, 1, u"1：热情奔放，性情开郎，为人热心，富有同情感，对环境环境适应性强，易与人相处，在团队中是理想的合作者！"},
    {Scale::P, 2, u"1：性情较开郎，关心他人，较有同情心，易适应环境，较易与人相处合作！"},
    {Scale::P, 3, u"1：性情较孤独，对别人关注较少，兴趣有些与众不同，对事情爱抱挑剔态度，环境适应性稍有不足！"},
    {Scale::P, 4, u"1：性情孤僻，不关心他人，好抱敌意或成见，缺乏同情心，不近人情，爱做一些怪异的事情，易寻衅滋事，难以适应环境，为精神质人格，易患心理疾病！"},
    {Scale::E, 1, u"2：性格内向，喜静，不好活动，不擅交际，爱独处。"},
    {Scale::E, 2, u"2：性格内倾，不擅交际，遇事很少主动向朋友倾诉。"},
    {Scale::E, 3, u"2：性格外倾，爱在公共场合露面，喜欢引起他人注意。"},
    {Scale::E, 4, u"2：性格外向,喜欢交往，情绪活跃，但易失控，渴望刺激与冒险。"},
    {Scale::N, 1, u"3：情绪反应缓慢而弱，平静而有节制，很少有冲动、焦虑和紧张情绪。"},
    {Scale::N, 2, u"3：情绪反应较缓慢而弱，遇事较冷静而有节制，冲动、焦虑和紧张情绪较少发生。"},
    {Scale::N, 3, u"3：情绪欠稳定，有时伴焦虑紧张，易烦恼，对各种刺激反应较强，处理问题有时欠理智！"},
    {Scale::N, 4, u"3：情绪不稳，焦虑，紧张，易怒，常忧郁不乐，对各种刺激反应强烈，缺乏理智，易患心脏病和神经症！"},
    {Scale::L, 1, u"4：本测试的可信性较高，测试有效！"},
    {Scale::L, 2, u"4：本测试有效！"},
    {Scale::L, 3, u"4：提示个性清高，或是测试回答中可能有掩饰现象，本测试在有效范围内！"},
    {Scale::L, 4, u"4：提示个性清高，过于严格要求自己，或有心理掩饰现象，测试回答欠真实性，本测试的可靠性不高！"},
};

// A whole-number score in each band.
const int kScoreInBand[] = {0, 30, 45, 55, 70};

} // namespace

class InterpretationTest : public QObject {
    Q_OBJECT
private slots:
    void bands_data()
    {
        QTest::addColumn<double>("score");
        QTest::addColumn<int>("band");
        // Stored scores need not be whole numbers: the limits themselves too.
        for (const auto& [score, band] :
             {std::pair{-1e300, 1}, {-32768.0, 1}, {0.0, 1}, {38.0, 1}, {38.5, 2}, {39.0, 2},
              {49.0, 2}, {50.0, 3}, {61.0, 3}, {61.5, 4}, {62.0, 4}, {32767.0, 4}, {1e300, 4}})
            QTest::addRow("%g", score) << score << band;
    }
    void bands()
    {
        QFETCH(double, score);
        QFETCH(int, band);
        QCOMPARE(interpretationBand(score), band);
    }

    void sentencesAreExact()
    {
        for (const Sentence& s : kSentences) {
            const QString want = QString::fromUtf16(s.text);
            QCOMPARE(interpretationSentence(s.scale, kScoreInBand[s.band]), want);
        }
        // The band limits reach the sentences too.
        QCOMPARE(interpretationSentence(Scale::E, 38), QString::fromUtf16(kSentences[4].text));
        QCOMPARE(interpretationSentence(Scale::E, 39), QString::fromUtf16(kSentences[5].text));
        QCOMPARE(interpretationSentence(Scale::E, 61), QString::fromUtf16(kSentences[6].text));
        QCOMPARE(interpretationSentence(Scale::E, 62), QString::fromUtf16(kSentences[7].text));
    }

    // Each scale in a different band, so a sentence in the wrong box or from
    // the wrong score shows.
    void fillsTheFourBoxes()
    {
        QLineEdit text1(QStringLiteral("Text1"));
        QLineEdit text2(QStringLiteral("Text2"));
        QLineEdit text3(QStringLiteral("Text3"));
        QLineEdit text4(QStringLiteral("Text4"));
        setScores(70, 45, 30, 55);
        for (int pass = 0; pass < 2; ++pass) {
            InterpretationText(&text1, &text2, &text3, &text4);
            QCOMPARE(text1.text(), interpretationSentence(Scale::P, 70));
            QCOMPARE(text2.text(), interpretationSentence(Scale::E, 45));
            QCOMPARE(text3.text(), interpretationSentence(Scale::N, 30));
            QCOMPARE(text4.text(), interpretationSentence(Scale::L, 55));
            QVERIFY(text1.text().startsWith(QStringLiteral("1：性情孤僻")));
            QVERIFY(text4.text().startsWith(QStringLiteral("4：提示个性清高，或是")));
        }

        // A later application replaces the earlier sentences.
        setScores(0, 0, 0, 0);
        InterpretationText(&text1, &text2, &text3, &text4);
        QCOMPARE(text1.text(), QString::fromUtf16(kSentences[0].text));
        QCOMPARE(text2.text(), QString::fromUtf16(kSentences[4].text));
        QCOMPARE(text3.text(), QString::fromUtf16(kSentences[8].text));
        QCOMPARE(text4.text(), QString::fromUtf16(kSentences[12].text));
    }
};

ZOL_TEST(InterpretationTest)
#include "tst_interpretation.moc"
