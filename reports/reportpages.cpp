#include "reports/reportpages.h"

#include "platform/convert.h"
#include "platform/curtprinter.h"
#include "testing/resultwindow.h"
#include "testing/zolmodule1.h"

namespace zol {

namespace {

// The pages align their columns with runs of blanks; their counts matter.
QString blanks(int n) { return QString(n, QLatin1Char(' ')); }

ReportValues valuesOf(const ResultForm& r)
{
    return {{r.Label18->text(), r.Label20->text(), r.Label22->text(), r.Label24->text(),
             r.Label26->text(), r.Label28->text()},
            {r.Label7->text(), r.Label8->text(), r.Label9->text(), r.Label10->text()},
            {r.Label12->text(), r.Label13->text(), r.Label14->text(), r.Label15->text()},
            {r.Text1->text(), r.Text2->text(), r.Text3->text(), r.Text4->text()}};
}

// Scores P, E, N, L in the order of the printed lines: P, N, E, L.
void inLineOrder(const QString (&scores)[4], QString out[4])
{
    out[0] = scores[0];
    out[1] = scores[2];
    out[2] = scores[1];
    out[3] = scores[3];
}

const QString kRawHead = blanks(12) + QStringLiteral("粗") + blanks(3) + QStringLiteral("分: P=");
const QString kStandardHead = blanks(12) + QStringLiteral("T") + blanks(4) + QStringLiteral("分: P=");

// The raw-score and standard-score lines; each page has its own runs of
// blanks before N, E and L.
void printScoreLines(CurtPrinter& p, const ReportValues& v, const QString rawSeparators[3],
                     const QString standardSeparators[3])
{
    QString values[4];
    inLineOrder(v.raw, values);
    p.PrintText(scoreLine(kRawHead, rawSeparators, values));
    p.NewLine();
    inLineOrder(v.standard, values);
    p.PrintText(scoreLine(kStandardHead, standardSeparators, values));
    p.NewLine(4);
}

void printEvaluationBlock(CurtPrinter& p, const ReportValues& v, const QString& heading,
                          const QString& remark)
{
    p.PrintLine(heading, 12, 0);
    p.FontSize = 10;
    printEvaluation(p, v.texts, remark);
}

// Below the chart of the result reports, from y 110: the score lines, the
// evaluation heading, the paragraphs and the reporter's line, right-aligned.
void printBelowChart(CurtPrinter& p, const ReportValues& v, const QString separators[3],
                     const QString& heading, const QString& remark, const QString& signature)
{
    p.CurrentX = 0;
    p.CurrentY = 110;
    p.NewLine();
    p.FontSize = 10;
    p.NewLine(2);
    printScoreLines(p, v, separators, separators);
    printEvaluationBlock(p, v, heading, remark);
    p.NewLine(1);
    p.PrintLine(signature, 10, 1);
}

// The head of a profile page: title, subject block, the gap below it (a
// NewLine with that many extra millimetres) and the chart's title.
void printProfileHead(CurtPrinter& p, const SubjectLines& subject, double gap,
                      const QString& chartTitle)
{
    p.TextMode = 0;
    p.PrintLine(QStringLiteral("Vormel人格测试报告"), 14, 2);
    p.TextMode = 0;
    p.NewLine();
    p.FontSize = 10;
    printSubjectBlock(p, subject);
    p.NewLine(gap);
    p.PrintLine(chartTitle, 12, 2);
    p.FontSize = 8;
}

// The profile chart's frame: the top line (T 120), the lines of text it
// spans, the base line (T 0) and the four scale columns in the order drawn.
struct ProfileFrame {
    int topWidth, baseWidth, columnWidth;
    int lines;
    float columns[4];
};

void drawProfileFrame(CurtPrinter& p, const ProfileFrame& f)
{
    p.LineWidth = f.topWidth;
    p.DrawLine(12, 40, 123, 40, kPageRed);
    for (int i = 0; i < f.lines; ++i)
        p.NewLine();
    p.LineWidth = f.baseWidth;
    p.DrawLine(11, 110, 123, 110, kPageRed);
    p.LineWidth = f.columnWidth;
    for (float x : f.columns)
        p.DrawLine(x, 40, x, 110, kPageBlue);
}

// The profile through four chart values (mm from ProfileChartY).
void drawProfile(CurtPrinter& p, const float y[4])
{
    p.LineWidth = 4;
    for (int i = 0; i < 3; ++i)
        p.DrawLine(kProfileColumnX[i], y[i], kProfileColumnX[i + 1], y[i + 1], kPageRed);
}

// The E-N grid: six rows 10 mm apart (T_E 80 down to 30) and five columns
// 10 mm apart (T_N 30 to 70); the axes at T 50 are drawn thick.
struct GridLine {
    float x1, y1, x2, y2;
    quint32 colour;
    int width;
};
const GridLine kENGrid[11] = {
    {14, 40, 124, 40, kPageRed, 1},  {14, 50, 124, 50, kPageRed, 1},
    {14, 60, 124, 60, kPageBlue, 1}, {14, 70, 124, 70, kPageRed, 6},
    {14, 80, 124, 80, kPageBlue, 1}, {14, 90, 124, 90, kPageRed, 1},
    {49, 30, 49, 110, kPageRed, 1},  {59, 30, 59, 110, kPageBlue, 1},
    {69, 30, 69, 110, kPageRed, 6},  {79, 30, 79, 110, kPageBlue, 1},
    {89, 30, 89, 110, kPageRed, 1},
};

void drawGridLines(CurtPrinter& p, int from, int to)
{
    for (int i = from; i < to; ++i) {
        const GridLine& g = kENGrid[i];
        p.LineWidth = g.width;
        p.DrawLine(g.x1, g.y1, g.x2, g.y2, g.colour);
    }
    p.LineWidth = 1;
}

} // namespace

float ProfileChartY(double score) { return float(110 - 0.5833 * score); }

QPointF ENChartXY(qint16 nScore, qint16 eScore)
{
    const qint16 x = qint16(69 - qint16(50 - nScore));
    const qint16 y = qint16(70 - qint16(eScore - 50));
    return QPointF(float(x), float(y));
}

void printSubjectBlock(CurtPrinter& p, const SubjectLines& s)
{
    auto row = [&p](const QString& left, const QString& right) {
        p.PrintText(blanks(12) + left);
        p.CurrentX = p.RightEdge() - p.TextWidth(blanks(18) + right);
        p.PrintText(right);
    };
    row(QStringLiteral("姓    名：") + s.name, QStringLiteral("文    化：") + s.education);
    p.NewLine(1);
    row(QStringLiteral("性    别：") + s.sex, QStringLiteral("民    族：") + s.ethnicity);
    p.TextMode = 0;
    p.NewLine(1);
    row(QStringLiteral("年    龄：") + s.age, QStringLiteral("职    业：") + s.occupation);
}

QString scoreLine(const QString& head, const QString separators[3], const QString values[4])
{
    static const char* const letters[3] = {"N=", "E=", "L="};
    QString line = head + values[0];
    for (int i = 0; i < 3; ++i)
        line += separators[i] + QLatin1String(letters[i]) + values[i + 1];
    return line;
}

void printEvaluation(CurtPrinter& p, const QString texts[4], const QString& remark)
{
    for (int i = 0; i < 5; ++i) {
        p.CurrentX = p.TextWidth(blanks(2)) + 8;
        // The E paragraph alone has no space before it.
        p.PrintParagraph(i < 4 ? texts[i] : remark, i == 1 ? 0 : 1, 2, 1);
    }
}

void ProfileReport(CurtPrinter& p, ResultForm& r)
{
    const ReportValues v = valuesOf(r);
    printProfileHead(p, v.subject, 6, QStringLiteral("受试人格线条图"));
    drawProfileFrame(p, {1, 1, 1, 18, {25, 54, 80, 110}});

    // The profile through the four standard scores.
    const float y[4] = {ProfileChartY(gPScore), ProfileChartY(gEScore), ProfileChartY(gNScore),
                        ProfileChartY(gLScore)};
    drawProfile(p, y);

    const QString separators[3] = {blanks(5), blanks(4), blanks(4)};
    printBelowChart(p, v, separators, QStringLiteral("个性评价："),
                    QStringLiteral("5:本报告供心理咨询师和临床医师等专业人员参考,不作其它证明之用。"),
                    blanks(18) + QStringLiteral("报 告 者：") + blanks(11)
                        + QStringLiteral("报告日期:") + TodaySystemShortDate() + blanks(4));
}

void ENReport(CurtPrinter& p, ResultForm& r)
{
    const ReportValues v = valuesOf(r);
    p.NewLine();
    p.TextMode = 0;
    p.PrintLine(QStringLiteral("Vormel人格问卷测试报告"), 14, 2);
    p.TextMode = 0;
    p.FontSize = 10;
    printSubjectBlock(p, v.subject);
    p.NewLine(2);
    p.PrintLine(QStringLiteral("受试人格E-N关系图"), 12, 2);
    p.FontSize = 8;
    p.LineWidth = 1;

    drawGridLines(p, 0, 1);
    for (int i = 0; i < 13; ++i)
        p.NewLine();

    // Quadrant captions, centred: extravert types above, introvert below,
    // stable on the left.
    p.CurrentY = 35;
    p.PrintLine(blanks(5) + QStringLiteral("多血质倾向") + blanks(23) + QStringLiteral("胆汁质倾向")
                + blanks(1));
    p.NewLine();
    p.PrintLine(blanks(8) + QStringLiteral("(外向，情绪稳定）") + blanks(19)
                + QStringLiteral("（外向，情绪不稳定）") + blanks(1));
    p.NewLine();
    p.CurrentY = 95;
    p.PrintLine(blanks(5) + QStringLiteral("粘液质倾向") + blanks(23) + QStringLiteral("抑郁质倾向"));
    p.NewLine();
    p.PrintLine(blanks(8) + QStringLiteral("（内向，情绪稳定）") + blanks(18)
                + QStringLiteral("（内向，情绪不稳定）"));
    p.NewLine();

    // Axis labels.
    const QString eLabel = blanks(1) + QStringLiteral("E") + blanks(2);
    p.CurrentY = 35;
    p.PrintLine(eLabel, 8, 2);
    p.CurrentX = 12;
    p.CurrentY = 65;
    p.PrintLine(QStringLiteral("(50,50)"), 8, 2);
    p.CurrentY = 65;
    p.PrintLine(blanks(1) + QStringLiteral("N") + blanks(46) + QStringLiteral("N"), 8, 2);
    p.CurrentY = 95;
    p.PrintLine(eLabel, 8, 2);

    drawGridLines(p, 1, 6);
    for (int i = 0; i < 10; ++i)
        p.NewLine();
    drawGridLines(p, 6, 11);

    // The test's point, then the centre mark.
    const QPointF point = ENChartXY(gNScore, gEScore);
    p.DrawCircle(point.x(), point.y(), 2, kPageRed, 1.0);
    p.DrawCircle(69, 70, 2, kPageRed, 1.0);

    const QString separators[3] = {blanks(6), blanks(5), blanks(5)};
    printBelowChart(p, v, separators, QStringLiteral("人格评价："),
                    QStringLiteral("5:本报告仅供心理咨询师和临床医师等专业人员参考,不作其它证明之用。"),
                    QStringLiteral("报 告 者：") + blanks(11) + QStringLiteral("报告日期:")
                        + TodaySystemShortDate());
}

void StoredTestReport(CurtPrinter& p, const ReportValues& v)
{
    for (int i = 0; i < 3; ++i)
        p.NewLine();
    printProfileHead(p, v.subject, 2, QStringLiteral("受试人格轮廓图"));
    drawProfileFrame(p, {2, 3, 2, 23, {25, 80, 54, 110}});

    // The chart reads the score captions as numbers; a score out of range
    // is drawn off the chart, as on the result reports.
    float y[4];
    for (int i = 0; i < 4; ++i)
        y[i] = ProfileChartY(Val(v.standard[i]));
    drawProfile(p, y);

    p.CurrentX = 0;
    p.CurrentY = 110;
    p.NewLine();
    p.LineWidth = 2;
    p.FontSize = 10;
    const QString raw[3] = {blanks(6), blanks(5), blanks(5)};
    const QString standard[3] = {blanks(5), blanks(4), blanks(4)};
    printScoreLines(p, v, raw, standard);
    printEvaluationBlock(p, v, QStringLiteral("个性评价："),
                         QStringLiteral("5、本报告仅供心理咨询师和临床医师等专业人员参考使用,不作其它证明之用。"));
    p.PrintLine(QStringLiteral("报 告 者：") + blanks(19), 10, 1);
    p.PrintLine(QStringLiteral("报告日期:") + TodaySystemShortDate() + blanks(10), 10, 1);
}

} // namespace zol
