#include "testing/interpretation.h"

#include <QLineEdit>

namespace zol {

namespace {

// The sentences by scale (P, E, N, L) and band (1 to 4), word for word as
// the program has always shown and stored them.
const char16_t* const kTexts[4][4] = {
    // P
    {
        u"1：热情奔放，性情开郎，为人热心，富有同情感，对环境环境适应性强，易与人相处，在团队中是理想的合作者！",
        u"1：性情较开郎，关心他人，较有同情心，易适应环境，较易与人相处合作！",
        u"1：性情较孤独，对别人关注较少，兴趣有些与众不同，对事情爱抱挑剔态度，环境适应性稍有不足！",
        u"1：性情孤僻，不关心他人，好抱敌意或成见，缺乏同情心，不近人情，爱做一些怪异的事情，易寻衅滋事，难以适应环境，为精神质人格，易患心理疾病！",
    },
    // E
    {
        u"2：性格内向，喜静，不好活动，不擅交际，爱独处。",
        u"2：性格内倾，不擅交际，遇事很少主动向朋友倾诉。",
        u"2：性格外倾，爱在公共场合露面，喜欢引起他人注意。",
        u"2：性格外向,喜欢交往，情绪活跃，但易失控，渴望刺激与冒险。",
    },
    // N
    {
        u"3：情绪反应缓慢而弱，平静而有节制，很少有冲动、焦虑和紧张情绪。",
        u"3：情绪反应较缓慢而弱，遇事较冷静而有节制，冲动、焦虑和紧张情绪较少发生。",
        u"3：情绪欠稳定，有时伴焦虑紧张，易烦恼，对各种刺激反应较强，处理问题有时欠理智！",
        u"3：情绪不稳，焦虑，紧张，易怒，常忧郁不乐，对各种刺激反应强烈，缺乏理智，易患心脏病和神经症！",
    },
    // L
    {
        u"4：本测试的可信性较高，测试有效！",
        u"4：本测试有效！",
        u"4：提示个性清高，或是测试回答中可能有掩饰现象，本测试在有效范围内！",
        u"4：提示个性清高，过于严格要求自己，或有心理掩饰现象，测试回答欠真实性，本测试的可靠性不高！",
    },
};

int scaleIndex(Scale scale)
{
    switch (scale) {
    case Scale::P: return 0;
    case Scale::E: return 1;
    case Scale::N: return 2;
    case Scale::L: return 3;
    }
    return 0;
}

} // namespace

int interpretationBand(double score)
{
    if (score < 38.5)
        return 1;
    if (score < 50)
        return 2;
    return score < 61.5 ? 3 : 4;
}

QString interpretationSentence(Scale scale, int score)
{
    return QString::fromUtf16(kTexts[scaleIndex(scale)][interpretationBand(score) - 1]);
}

void InterpretationText(QLineEdit* text1, QLineEdit* text2, QLineEdit* text3, QLineEdit* text4)
{
    // A sentence longer than its box shows from its beginning, where its
    // number stands. Setting a text leaves the cursor at its end, also when
    // the box already held it (the typed-in scorers write the texts the
    // window chose as it loaded again) or has the focus.
    auto show = [](QLineEdit* box, const QString& text) {
        box->setText(text);
        box->setCursorPosition(0);
    };
    show(text2, interpretationSentence(Scale::E, gEScore));
    show(text3, interpretationSentence(Scale::N, gNScore));
    show(text1, interpretationSentence(Scale::P, gPScore));
    show(text4, interpretationSentence(Scale::L, gLScore));
}

} // namespace zol
