#include "records/frmzol6.h"

#include "platform/columnlabel.h"
#include "platform/convert.h"
#include "platform/database.h"
#include "platform/datacontrol.h"
#include "platform/dialogs.h"
#include "platform/elidedlabel.h"
#include "platform/fonts.h"
#include "platform/palette.h"
#include "platform/twips.h"
#include "reports/reportwindows.h"
#include "testing/interpretation.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

namespace zol {

namespace {


// The browser's texts, by scale (P, E, N, L) and band.
const char16_t* const kBrowserTexts[4][4] = {
    {u"P：性情开郎，关心他人，富有同情心，对环境环境适应性强，易与人相处，在团队中是理想的合作者！",
     u"P：性情较开郎，关心他人，较有同情心，易适应环境，较易与人相处合作！",
     u"P：性情较孤独，对他人关心不足，兴趣有些与众不同，对事情爱抱挑剔态度，环境适应性稍有不足！",
     u"P：性情孤独，不关心他人，好抱敌意或成见，缺乏同情心，不近人情，爱做一些怪异的事情，易寻衅滋事，"
     u"难以适应环境，为精神质人格，易患心理疾病！"},
    {u"E：性格内向，喜静，不好动，不擅交际，好独处。", u"E：性格内倾", u"E：性格外倾",
     u"E：性格外向,喜欢交往，情绪活跃，但易失控，渴望刺激与冒险。"},
    {u"N：情绪反应缓慢而弱，平静而有节制，很少有冲动、焦虑和紧张。",
     u"N：情绪反应较缓慢而弱，遇事较冷静而有节制，冲动、焦虑和紧张情绪较少发生。",
     u"N：情绪欠稳稳，有时伴焦虑紧张，易烦恼，对各种刺激反应较强，处理问题有时欠理智！",
     u"N：情绪不稳，焦虑，紧张，易怒，常忧郁不乐，对各种刺激反应强烈，缺乏理智，易患心脏病和神经症！"},
    {u"L：回答真实性高，本测试有效！", u"L：本测试回答较真实。测试有效！",
     u"L：提示测试回答中可能有掩饰现象，本测试在有效范围内！",
     u"L：提示个性清高，过于严格要求自己，或有心理掩饰现象，测试回答欠真实性，本测试的有效性较低！"},
};

// The fixed drawing of the chart (twips).
struct ChartLine {
    int x1, y1, x2, y2;
    QColor colour;
    int width;
    Qt::PenStyle style;
};
const ChartLine kChartLines[] = {
    {1440, 1560, 1440, 6000, kBlue, 1, Qt::SolidLine},     // column axes P, E, N, L
    {2760, 1560, 2760, 6000, kBlue, 1, Qt::SolidLine},
    {4080, 1560, 4080, 6000, kBlue, 1, Qt::SolidLine},
    {5520, 1560, 5520, 6000, kBlue, 1, Qt::SolidLine},
    {480, 1560, 6840, 1560, kYellow, 1, Qt::SolidLine},    // top and bottom border
    {480, 6000, 6720, 6000, kYellow, 1, Qt::SolidLine},
    {600, 1560, 600, 5880, kLilac, 1, Qt::SolidLine},      // side borders
    {6480, 1560, 6480, 6000, kLilac, 1, Qt::SolidLine},
    {600, 4080, 6480, 4080, kYellow, 2, Qt::SolidLine},    // guides
    {600, 3840, 6480, 3840, kGreen, 1, Qt::DotLine},
    {600, 4320, 6480, 4320, kGreen, 1, Qt::DotLine},
    {600, 3720, 6480, 3720, kMagenta, 1, Qt::DotLine},
    {600, 4440, 6480, 4440, kMagenta, 1, Qt::DotLine},
};
constexpr int kColumnX[4] = {1440, 2760, 4080, 5520};

QLabel* colouredLabel(QWidget* parent, const QString& caption, int left, int top,
                      const QColor& colour)
{
    QLabel* l = makeLabel(parent, caption, left, top);
    setForeColor(l, colour);
    return l;
}

} // namespace

QString BrowserText(int scale, double score)
{
    return QString::fromUtf16(kBrowserTexts[scale][interpretationBand(score) - 1]);
}

int browserChartY(double score)
{
    // Far beyond the window either way; a clamped value still draws off the chart.
    constexpr double kReach = 1e6;
    return *toInt32(std::clamp(6000 - 36 * score, -kReach, kReach));
}

Frmzol6Form::Frmzol6Form() : Form(QStringLiteral("frmzol6"))
{
    setWindowTitle(QStringLiteral("ZOL成人版报告查询"));
    setFixedDialogBorder();
    setClientSize(7320, 8130);
    buildLayout();
    buildChart();
    centerOnScreen();
}

void Frmzol6Form::buildLayout()
{
    Label17 = makeLabel(this, QStringLiteral("Vormel人格测验报告"), 2280, 240);
    Label17->setFont(vbFont(QStringLiteral("楷体_GB2312"), 14.25, true));
    Label17->adjustSize();

    const struct {
        const char16_t* caption;
        int left, top;
    } captions[] = {
        {u"姓  名：", 960, 720},  {u"性  别：", 2400, 720}, {u"年  龄：", 3840, 720},
        {u"编 号：", 5280, 720},  {u"文  化：", 960, 960},  {u"民  族：", 2400, 960},
        {u"职  业：", 3840, 960}, {u"来 源：", 5280, 960},
    };
    for (const auto& c : captions)
        colouredLabel(this, QString::fromUtf16(c.caption), c.left, c.top, kBlue);
    setForeColor(makeLabel(this, QStringLiteral("粗  分"), 360, 6120), kPurple);
    setForeColor(makeLabel(this, QStringLiteral("T   分"), 360, 6360), kPurple);

    Data1 = new DataControl(this);
    Data1->setRecordSource(testRecordTable());
    connect(Data1, &DataControl::rowShown, this, [this] { showBrowserTexts(); });

    // Every field but the test date, bound to the shown row. Subject values
    // are cut visibly at the next caption; the report reads them whole.
    const struct {
        QLabel** label;
        const char16_t* field;
        int left, top, width;
        const QColor& colour;
    } bound[] = {
        {&Label18, u"姓名", 1680, 720, 720, kBlue},     {&Label20, u"性别", 3120, 720, 720, kBlue},
        {&Label22, u"年龄", 4560, 720, 720, kBlue},     {&Label33, u"编号", 5880, 720, 1200, kBlue},
        {&Label24, u"文化", 1680, 960, 720, kBlue},     {&Label26, u"民族", 3120, 960, 720, kBlue},
        {&Label28, u"职业", 4560, 960, 720, kBlue},     {&Label35, u"来源", 5880, 960, 1200, kBlue},
        {&Label7, u"粗份P", 1200, 6120, 1080, kBlue},   {&Label8, u"粗分E", 2520, 6120, 1080, kBlue},
        {&Label9, u"粗分N", 3840, 6120, 1080, kBlue},   {&Label10, u"粗分L", 5280, 6120, 1080, kBlue},
        {&Label12, u"标准分P", 1200, 6360, 1080, kRed}, {&Label13, u"标准分E", 2520, 6330, 1080, kRed},
        {&Label14, u"标准分N", 3720, 6360, 1080, kRed}, {&Label15, u"标准分L", 5160, 6360, 1080, kRed},
    };
    for (const auto& b : bound) {
        *b.label = new ElidedLabel(this);
        place(*b.label, b.left, b.top, b.width, 240);
        setForeColor(*b.label, b.colour);
        Data1->bind(*b.label, QString::fromUtf16(b.field));
    }
    QLineEdit** boxes[4] = {&Text1, &Text2, &Text3, &Text4};
    const char16_t* evaluations[4] = {u"P评价", u"E评价", u"N评价", u"L评价"};
    for (int i = 0; i < 4; ++i) {
        *boxes[i] = makeTextBox(this, 840, 6600 + 240 * i, 6015, 270);
        Data1->bind(*boxes[i], QString::fromUtf16(evaluations[i]));
    }

    auto* traits = new ColumnLabel(QStringLiteral("人 格 特 征"), this);
    traits->setFont(vbFont(QStringLiteral("楷体_GB2312"), 10.5));
    place(traits, 240, 6720, 255, 900);
    auto* letters = new ColumnLabel(QStringLiteral("P  E  N  L "), this);
    letters->setFont(vbFont(QStringLiteral("宋体"), 12));
    setForeColor(letters, kPink);
    place(letters, 600, 6600, 255, 960);

    const struct {
        QPushButton** button;
        const char16_t* caption;
        int left;
        void (Frmzol6Form::*click)();
    } buttons[] = {
        {&Command6, u"首 条", 360, &Frmzol6Form::Command6_Click},
        {&Command7, u"<<<", 1200, &Frmzol6Form::Command7_Click},
        {&Command8, u">>>", 2040, &Frmzol6Form::Command8_Click},
        {&Command9, u"末 条", 2880, &Frmzol6Form::Command9_Click},
        {&Command1, u"删 除", 3720, &Frmzol6Form::Command1_Click},
        {&Command4, u"画  图", 4560, &Frmzol6Form::Command4_Click},
        {&Command3, u"打 印", 5400, &Frmzol6Form::Command3_Click},
        {&Command2, u"退 出", 6240, &Frmzol6Form::Command2_Click},
    };
    for (const auto& b : buttons) {
        *b.button = makeButton(this, QString::fromUtf16(b.caption), b.left, 7680, 855, 375);
        connect(*b.button, &QPushButton::clicked, this, b.click);
    }
}

void Frmzol6Form::buildChart()
{
    for (const ChartLine& l : kChartLines)
        surface().addStaticLine(l.x1, l.y1, l.x2, l.y2, l.colour, l.width, l.style);

    Label29 = colouredLabel(this, QStringLiteral("受试人格剖面图"), 2760, 1320, kPink);

    // The number scales: one number a line, 180 twips (5 T) apart.
    QString numbers;
    for (int t = 120; t >= 0; t -= 5)
        numbers += QString::number(t) + QLatin1Char(' ');
    const int scaleLeft[2] = {360, 6720};
    for (int i = 0; i < 2; ++i) {
        Label5[i] = new ColumnLabel(numbers.trimmed(), this);
        setForeColor(Label5[i], kPink);
        place(Label5[i], scaleLeft[i], 1560, 255, 25 * 180);
    }

    QLabel** columnLetters[4] = {Label1, Label2, Label3, Label4};
    const QString names[4] = {QStringLiteral("P"), QStringLiteral("E"), QStringLiteral("N"),
                              QStringLiteral("L")};
    const int lefts[4] = {1560, 2880, 4200, 5640};
    const int tops[2] = {1680, 5520};
    for (int i = 0; i < 4; ++i)
        for (int k = 0; k < 2; ++k) {
            columnLetters[i][k] = makeLabel(this, names[i], lefts[i], tops[k]);
            columnLetters[i][k]->setFont(vbFont(QStringLiteral("宋体"), 12));
            columnLetters[i][k]->adjustSize();
        }
}

// The window shows itself and the first stored test with its profile. A
// stored test's report reads this window while it is loaded, and no longer.
void Frmzol6Form::Form_Load()
{
    Data1->setDatabaseName(databasePath());
    setStoredTestSource([this] {
        return ReportValues{{Label18->text(), Label20->text(), Label22->text(), Label24->text(),
                             Label26->text(), Label28->text()},
                            {Label7->text(), Label8->text(), Label9->text(), Label10->text()},
                            {Label12->text(), Label13->text(), Label14->text(), Label15->text()},
                            {Text1->text(), Text2->text(), Text3->text(), Text4->text()}};
    });
    Show();
    // A file that cannot be read has been said; the empty captions are then
    // drawn on the base line.
    static_cast<void>(Data1->Refresh());
    drawProfile();
}

// What the user typed into the shown row is stored before the window goes
// (退出 and the close box keep the window, and the typing, when it cannot
// be; an unload by code cannot stay, and a refusal has been said). The
// report of this window's row closes with it, rather than load a fresh
// browser and print another row.
void Frmzol6Form::Form_Unload()
{
    static_cast<void>(Data1->UpdateTyped());
    setStoredTestSource(nullptr);
    DefaultForm<Frmzol9Form>::unload();
}

// A row whose stored evaluation is empty (one added in the query grid)
// shows the browser's text for its score; it reaches the file only if the
// user types into the box.
void Frmzol6Form::showBrowserTexts()
{
    if (!Data1->Fields(recordKeyField()).isValid())
        return;
    QLineEdit* boxes[4] = {Text1, Text2, Text3, Text4};
    const QLabel* scores[4] = {Label12, Label13, Label14, Label15};
    for (int i = 0; i < 4; ++i)
        if (boxes[i]->text().isEmpty()) {
            boxes[i]->setText(BrowserText(i, Val(scores[i]->text())));
            boxes[i]->setCursorPosition(0);
        }
}

// The count before every move. Rows saved, deleted or restored elsewhere
// since the browser read its rows are read again, keeping the place, so that
// no move ever runs on a stale or empty set.
bool Frmzol6Form::tableHasRows()
{
    qint64 count = 0;
    {
        const auto db = Database::OpenDatabase(Data1->DatabaseName());
        if (!db)
            return false;
        const Recordset rs = db->OpenRecordset(recordCountStatement());
        if (!rs.isValid())
            return false;
        count = rs.Fields(recordCountField()).toLongLong();
    }
    if (!Data1->RequeryIfChanged(count))
        return false;
    if (count < 1) {
        MsgBox(QStringLiteral("数据库中的记录为空!"));
        return false;
    }
    return true;
}

// 首 条 and <<< lead to the start, >>> and 末 条 to the end.
void Frmzol6Form::setNavigation(bool toStart, bool toEnd)
{
    Command6->setEnabled(toStart);
    Command7->setEnabled(toStart);
    Command8->setEnabled(toEnd);
    Command9->setEnabled(toEnd);
}

void Frmzol6Form::Command6_Click()
{
    if (!tableHasRows() || !Data1->MoveFirst())
        return;
    setNavigation(false, true);
}

void Frmzol6Form::Command7_Click()
{
    if (!tableHasRows())
        return;
    Command8->setEnabled(true);
    Command9->setEnabled(true);
    if (!Data1->MovePrevious() || !Data1->isBOF())
        return;
    MsgBox(QStringLiteral("已经到了第一条记录!"));
    if (!Data1->MoveFirst())
        return;
    Command6->setEnabled(false);
    Command7->setEnabled(false);
}

void Frmzol6Form::Command8_Click()
{
    if (!tableHasRows())
        return;
    Command6->setEnabled(true);
    Command7->setEnabled(true);
    if (!Data1->MoveNext() || !Data1->isEOF())
        return;
    MsgBox(QStringLiteral("已经到了最后一条记录!"));
    if (!Data1->MoveLast())
        return;
    Command8->setEnabled(false);
    Command9->setEnabled(false);
}

void Frmzol6Form::Command9_Click()
{
    if (!tableHasRows() || !Data1->MoveLast())
        return;
    setNavigation(true, false);
}

// After the delete the rows are read again and the first one is shown; the
// buttons and the chart stay as they were.
void Frmzol6Form::Command1_Click()
{
    if (MsgBox(QStringLiteral("你真要删除这条记录吗？"), vbOKCancel | vbInformation,
               QStringLiteral("询问"))
        != vbOK)
        return;
    if (Data1->RecordCount() == 0 || !Data1->hasCurrentRow())
        return;
    // Each step says its own failure; the next one runs only after a sound one.
    if (Data1->Delete() && Data1->MoveNext())
        static_cast<void>(Data1->Refresh());
}

void Frmzol6Form::Command4_Click()
{
    surface().Cls();
    drawProfile();
}

// The profile of the shown row, through its standard-score captions.
void Frmzol6Form::drawProfile()
{
    const QLabel* scores[4] = {Label12, Label13, Label14, Label15};
    int y[4];
    for (int i = 0; i < 4; ++i)
        y[i] = browserChartY(Val(scores[i]->text()));
    for (int i = 0; i < 3; ++i)
        surface().Line(kColumnX[i], y[i], kColumnX[i + 1], y[i + 1], kRed);
}

// The report is rendered before the browser hides; the browser stays
// loaded on its row until the main window shows it again.
void Frmzol6Form::Command3_Click()
{
    Frmzol9Form& report = frmzol9();
    prepareReport(report);
    Hide();
    report.Show();
}

void Frmzol6Form::Command2_Click()
{
    if (MsgBox(QStringLiteral("你要结束查询吗！"), vbOKCancel | vbInformation, QStringLiteral("提示"))
            == vbOK
        && Data1->UpdateTyped())
        Unload();
}

void Frmzol6Form::Form_QueryUnload(bool& cancel) { cancel = !Data1->UpdateTyped(); }

} // namespace zol
