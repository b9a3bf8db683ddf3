#include "testing/resultwindow.h"

#include "platform/columnlabel.h"
#include "platform/convert.h"
#include "platform/database.h"
#include "platform/datacontrol.h"
#include "platform/dialogs.h"
#include "platform/elidedlabel.h"
#include "platform/fonts.h"
#include "platform/palette.h"
#include "platform/paths.h"
#include "platform/twips.h"
#include "testing/frmzol1.h"
#include "testing/frmzol2.h"
#include "testing/frmzol20.h"
#include "testing/interpretation.h"
#include "testing/questionnaire.h"
#include "testing/rawscores.h"
#include "testing/zolmodule1.h"

#include <limits>

namespace zol {

namespace {

const QColor kWindowText(0, 0, 0);

const QString kCaption = QStringLiteral("Vormel人格测验成人版测试报告");

QLabel* colouredLabel(QWidget* parent, const QString& caption, int left, int top,
                      const QColor& colour, int width = 0, int height = 0)
{
    QLabel* l = makeLabel(parent, caption, left, top, width, height);
    setForeColor(l, colour);
    return l;
}

// A subject value: its designed width, cut visibly where a long value
// would otherwise touch the next caption.
QLabel* valueLabel(QWidget* parent, int left, int top, int width)
{
    QLabel* l = new ElidedLabel(parent);
    place(l, left, top, width, 240);
    setForeColor(l, kBlue);
    return l;
}

} // namespace

qint16 profileY(qint16 score) { return qint16(5592 - 36 * score); }
qint16 enX(qint16 nScore) { return qint16(4080 - 36 * (50 - nScore)); }
qint16 enY(qint16 eScore) { return qint16(3480 + 36 * (50 - eScore)); }

void ProfileChart(Form& window)
{
    gPlotP = profileY(gPScore);
    gPlotE = profileY(gEScore);
    gPlotN = profileY(gNScore);
    gPlotL = profileY(gLScore);
    Surface& s = window.surface();
    s.Line(1440, gPlotP, 2760, gPlotE, kRed);
    s.Line(2760, gPlotE, 4080, gPlotN, kRed);
    s.Line(4080, gPlotN, 5520, gPlotL, kRed);
}

void ENChart(Form& window)
{
    gPlotE = enY(gEScore);
    gPlotN = enX(gNScore);
    window.surface().Circle(gPlotN, gPlotE, 100, kRed);
}

void unloadWindows(const QList<WindowUnload>& windows)
{
    for (const WindowUnload unload : windows)
        unload();
}

ResultForm::ResultForm(const QString& name, ChartKind kind, const QList<WindowUnload>& exitList)
    : Form(name), kind_(kind), exitList_(exitList)
{
    setWindowTitle(kCaption);
    setFixedDialogBorder();
    if (kind_ == ChartKind::Profile)
        setClientSize(7185, 7890);
    else
        setClientSize(7845, 7860);
    buildLayout();
    if (kind_ == ChartKind::Profile)
        buildProfileChart();
    else
        buildENChart();
    centerOnScreen();
}

void ResultForm::buildLayout()
{
    const bool en = kind_ == ChartKind::EN;
    // Where the pairs differ, the E-N layout sits a little to the right and lower.
    const int dx = en ? 120 : 0;

    Label17 = makeLabel(this, QStringLiteral("Vormel人格测试报告"), en ? 2520 : 2160, 240);
    Label17->setFont(vbFont(QStringLiteral("楷体_GB2312"), 14.25, true));
    Label17->adjustSize();

    const int capLeft[4] = {960 + dx, 2400 + dx, 3840 + dx, 5280 + dx};
    const int valLeft[4] = {1680 + dx, 3120 + dx, 4560 + dx, 5880 + dx};
    const int valWidth[4] = {720, 720, 720, 1200};

    Label16 = colouredLabel(this, QStringLiteral("姓  名："), capLeft[0], 600, kBlue);
    Label19 = colouredLabel(this, QStringLiteral("性  别："), capLeft[1], 600, kBlue);
    Label21 = colouredLabel(this, QStringLiteral("年  龄："), capLeft[2], 600, kBlue);
    Label32 = colouredLabel(this, QStringLiteral("编 号："), capLeft[3], 600, kBlue);
    Label18 = valueLabel(this, valLeft[0], 600, valWidth[0]);
    Label20 = valueLabel(this, valLeft[1], 600, valWidth[1]);
    Label22 = valueLabel(this, valLeft[2], 600, valWidth[2]);
    Label33 = valueLabel(this, valLeft[3], 600, valWidth[3]);

    Label23 = colouredLabel(this, QStringLiteral("文  化："), capLeft[0], 840, kBlue);
    Label25 = colouredLabel(this, QStringLiteral("民  族："), capLeft[1], 840, kBlue);
    Label27 = colouredLabel(this, QStringLiteral("职  业："), capLeft[2], 840, kBlue);
    Label34 = colouredLabel(this, QStringLiteral("来 源："), capLeft[3], 840, kBlue);
    Label24 = valueLabel(this, valLeft[0], 840, valWidth[0]);
    Label26 = valueLabel(this, valLeft[1], 840, valWidth[1]);
    Label28 = valueLabel(this, valLeft[2], 840, valWidth[2]);
    Label35 = valueLabel(this, valLeft[3], 840, valWidth[3]);

    Label29 = colouredLabel(this, en ? QStringLiteral("E-N关系图") : QStringLiteral("受试人格剖面图"),
                            en ? 3480 : 3000, 1080, kPink);

    // Score rows.
    const int rawTop = en ? 5880 : 5760;
    const int stdTop = rawTop + 240;
    const int scoreLeft[4] = {1320 + 2 * dx, 2640 + 2 * dx, 3960 + 2 * dx, 5400 + 2 * dx};
    Label6 = colouredLabel(this, QStringLiteral("粗  分"), 480, rawTop, kPurple);
    Label11 = colouredLabel(this, QStringLiteral("T   分"), 480, stdTop, kPurple);
    QLabel** raw[4] = {&Label7, &Label8, &Label9, &Label10};
    QLabel** std[4] = {&Label12, &Label13, &Label14, &Label15};
    for (int i = 0; i < 4; ++i) {
        *raw[i] = colouredLabel(this, QString(), scoreLeft[i], rawTop, kBlue, 720, 240);
        *std[i] = colouredLabel(this, QString(), scoreLeft[i], stdTop, kRed, 720, 240);
    }

    // Interpretation block.
    const int textTop = en ? 6360 : 6240;
    Label30 = new ColumnLabel(QStringLiteral("人 格 特 征"), this);
    Label30->setFont(vbFont(QStringLiteral("楷体_GB2312"), 9));
    setForeColor(Label30, kBlue);
    place(Label30, 360, textTop + 120, 255, 960);
    Label31 = new ColumnLabel(QStringLiteral("P  E  N  L "), this);
    setForeColor(Label31, kPink);
    place(Label31, 720, textTop, 195, 960);
    QLineEdit** boxes[4] = {&Text1, &Text2, &Text3, &Text4};
    const QString design[4] = {QStringLiteral("Text1"), QStringLiteral("Text2"), QString(),
                               QString()};
    for (int i = 0; i < 4; ++i) {
        *boxes[i] = makeTextBox(this, 960, textTop + 240 * i, 5775, 270);
        QLineEdit* box = *boxes[i];
        box->setText(design[i]);
        // An evaluation the counsellor pastes in is saved whole.
        box->setMaxLength(std::numeric_limits<int>::max());
    }

    const int buttonTop = en ? 7440 : 7320;
    Command1 = makeButton(this, QStringLiteral("保存数据"), 1440, buttonTop, 1095, 375);
    Command3 = makeButton(this, QStringLiteral("打印报告"), 3120, buttonTop, 1095, 375);
    Command2 = makeButton(this, QStringLiteral("退   出"), 4800, buttonTop, 1095, 375);
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    setTabOrder(Text1, Text2);
    setTabOrder(Text2, Text3);
    setTabOrder(Text3, Text4);
    setTabOrder(Text4, Command1);
    setTabOrder(Command1, Command3);
    setTabOrder(Command3, Command2);

    // The hidden data control and its bound boxes, in the field order of a
    // stored test.
    Data1 = new DataControl(this);
    Data1->setRecordSource(QStringLiteral("用户信息"));
    QLineEdit** bound[21] = {&Text5,  &Text6,  &Text7,  &Text8,  &Text9,  &Text10, &Text11,
                             &Text12, &Text13, &Text14, &Text15, &Text16, &Text17, &Text18,
                             &Text19, &Text20, &Text21, &Text22, &Text23, &Text24, &Text26};
    const QStringList fields = testRecordFields();
    for (int i = 0; i < 21; ++i) {
        *bound[i] = new QLineEdit(this);
        (*bound[i])->hide();
        Data1->bind(*bound[i], fields.at(i));
    }
    Text25 = new QLineEdit(this);
    Text25->hide();
}

void ResultForm::buildProfileChart()
{
    Surface& s = surface();
    for (int x : {1440, 2760, 4080, 5520})
        s.addStaticLine(x, 1320, x, 5640, kBlue);
    s.addStaticLine(600, 1320, 6960, 1320, kYellow);
    s.addStaticLine(360, 5640, 6600, 5640, kYellow);
    s.addStaticLine(480, 1440, 480, 5760, kLilac);
    s.addStaticLine(6600, 1200, 6600, 5520, kLilac);
    s.addStaticLine(600, 3840, 6480, 3840, kYellow, 2);
    s.addStaticLine(600, 3480, 6480, 3480, kGreen, 1, Qt::DotLine);
    s.addStaticLine(600, 4200, 6480, 4200, kGreen, 1, Qt::DotLine);
    s.addStaticLine(600, 3360, 6480, 3360, kMagenta);
    s.addStaticLine(600, 4320, 6480, 4320, kMagenta);

    QString numbers;
    for (int t = 120; t >= 0; t -= 5)
        numbers += QString::number(t) + (t ? QStringLiteral(" ") : QString());
    auto* left = new ColumnLabel(numbers, this);
    setForeColor(left, kPink);
    place(left, 240, 1200, 255, 4575);
    auto* right = new ColumnLabel(numbers, this);
    setForeColor(right, kPink);
    place(right, 6840, 1200, 375, 4695);

    const QString letters[4] = {QStringLiteral("P"), QStringLiteral("E"), QStringLiteral("N"),
                                QStringLiteral("L")};
    const int above[4] = {1560, 2880, 4200, 5640};
    const int below[4] = {1680, 3000, 4320, 5760};
    for (int i = 0; i < 4; ++i) {
        makeLabel(this, letters[i], above[i], 1440);
        makeLabel(this, letters[i], below[i], 5280);
    }
}

void ResultForm::buildENChart()
{
    Surface& s = surface();
    s.addStaticLine(960, 1440, 6960, 1440, kYellow);
    s.addStaticLine(960, 5280, 6960, 5280, kYellow);
    s.addStaticLine(960, 1440, 960, 5280, kLilac);
    s.addStaticLine(6960, 1440, 6960, 5280, kLilac);

    // N grid: N 0 and 100 solid red, the lines between dotted; N 50 is the axis.
    s.addStaticLine(2280, 1560, 2280, 5280, kRed);
    s.addStaticLine(5880, 1440, 5880, 5280, kRed);
    const QColor between[9] = {kYellow, kBlue, kPink, kWindowText, QColor(),
                               kWindowText, kRed, kBlue, kYellow};
    for (int i = 0; i < 9; ++i) {
        if (!between[i].isValid())
            continue;
        const int x = 2640 + 360 * i;
        s.addStaticLine(x, 1440, x, 5280, between[i], 1, Qt::DotLine);
    }
    s.addStaticLine(960, 2880, 6360, 2880, kMagenta);
    s.addStaticLine(960, 3960, 6360, 3960, kMagenta);
    s.addStaticLine(960, 3120, 6360, 3120, kGreen, 1, Qt::DotLine);
    s.addStaticLine(960, 3840, 6360, 3840, kGreen, 1, Qt::DotLine);
    // Axes last, so they stand over the grid.
    s.addStaticLine(1080, 3480, 6840, 3480, kBlue, 3);
    s.addStaticLine(4080, 1440, 4080, 5280, kBlue, 3);

    makeLabel(this, QStringLiteral("0"), 2280, 5400);
    for (int i = 1; i <= 10; ++i) {
        QLabel* l = makeLabel(this, QString::number(10 * i), 2160 + 360 * i, 5400, 255 + 120, 240);
        l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        place(l, 2160 + 360 * i - 60, 5400, 375, 240);
    }

    QString numbers = QStringLiteral("      ");
    for (int t = 110; t >= 0; t -= 5)
        numbers += QString::number(t) + (t ? QStringLiteral(" ") : QString());
    auto* left = new ColumnLabel(numbers, this);
    setForeColor(left, kPink);
    place(left, 600, 840, 255, 4575);
    auto* right = new ColumnLabel(numbers, this);
    setForeColor(right, kPink);
    place(right, 7080, 840, 375, 4695);

    colouredLabel(this, QStringLiteral("E"), 4200, 1440, kRed);
    colouredLabel(this, QStringLiteral("N"), 1320, 3360, kRed);
    colouredLabel(this, QStringLiteral("N"), 6360, 3360, kRed);

    makeLabel(this, QStringLiteral("多血质倾向"), 1800, 1920);
    makeLabel(this, QStringLiteral("（外向，情绪稳定）"), 1440, 2400);
    makeLabel(this, QStringLiteral("胆汁质倾向"), 5520, 1920);
    makeLabel(this, QStringLiteral("（外向，情绪不稳定）"), 5040, 2280);
    makeLabel(this, QStringLiteral("粘液质倾向"), 1800, 4440);
    makeLabel(this, QStringLiteral("（内向，情绪稳定）"), 1320, 4800);
    makeLabel(this, QStringLiteral("抑郁质倾向"), 5400, 4320);
    makeLabel(this, QStringLiteral("（内向，情绪不稳定）"), 5040, 4800);

    const QString letters[4] = {QStringLiteral("P"), QStringLiteral("E"), QStringLiteral("N"),
                                QStringLiteral("L")};
    const int lefts[4] = {1560, 2880, 4200, 5640};
    for (int i = 0; i < 4; ++i)
        makeLabel(this, letters[i], lefts[i], 5640);
}

void writeScoreLabels(ResultForm& window)
{
    window.Label7->setText(numberText(gPRaw));
    window.Label8->setText(numberText(gERaw));
    window.Label9->setText(numberText(gNRaw));
    window.Label10->setText(numberText(gLRaw));
    window.Label12->setText(numberText(gPScore));
    window.Label13->setText(numberText(gEScore));
    window.Label14->setText(numberText(gNScore));
    window.Label15->setText(numberText(gLScore));
}

void ResultForm::Form_Load()
{
    if (kind_ == ChartKind::EN) {
        clearStandardScores();
        ApplyNorms();
        ENChart(*this);
    }
    Data1->setDatabaseName(databasePath());
    Text25->setText(TodayShortDate());
    InterpretationText(Text1, Text2, Text3, Text4);
}

void ResultForm::Command1_Click()
{
    if (!Command1->isEnabled())
        return;
    if (!Data1->AddNew())
        return;
    Text5->setText(Label18->text());
    Text6->setText(Label20->text());
    Text7->setText(Label22->text());
    Text8->setText(Label24->text());
    Text9->setText(Label26->text());
    Text10->setText(Label28->text());
    Text11->setText(Label33->text());
    Text12->setText(Label35->text());
    Text13->setText(Label7->text());
    Text14->setText(Label8->text());
    Text15->setText(Label9->text());
    Text16->setText(Label10->text());
    Text17->setText(Label12->text());
    Text18->setText(Label13->text());
    Text19->setText(Label14->text());
    Text20->setText(Label15->text());
    Text21->setText(Text1->text());
    Text22->setText(Text2->text());
    Text23->setText(Text3->text());
    Text24->setText(Text4->text());
    Text26->setText(Text25->text());
    // The engine's refusal has been shown to the user; the button stays
    // enabled so that the save can be tried again.
    if (!Data1->Update())
        return;
    Command1->setEnabled(false);
}

void ResultForm::Command2_Click()
{
    if (MsgBox(QStringLiteral("你真的要提前结束测试吗！"), vbOKCancel | vbInformation,
               QStringLiteral("提示"))
        != vbOK)
        return;
    exitTest();
}

void ResultForm::Form_QueryUnload(bool& cancel)
{
    // The close box asks the same question as the exit button; on OK the
    // exit unloads this window together with the rest of the test.
    cancel = true;
    Command2_Click();
}

void ResultForm::exitTest()
{
    unloadWindows(exitList_);
    afterExit();
}

void ResultForm::Command3_Click()
{
    showResultReport(*this);
}

Frmzol4Form::Frmzol4Form()
    : ResultForm(QStringLiteral("frmzol4"), ChartKind::Profile,
                 {unloadOf<Frmzol4Form>, unloadOf<Frmzol3Form>, unloadOf<Frmzol2Form>,
                  unloadOf<Frmzol1Form>, unloadOf<Frmzol20Form>})
{
}

Frmzol401Form::Frmzol401Form()
    : ResultForm(QStringLiteral("frmzol401"), ChartKind::Profile,
                 {unloadOf<Frmzol401Form>, unloadOf<Frmzol19Form>, unloadOf<Frmzol20Form>,
                  unloadOf<Frmzol2Form>, unloadOf<Frmzol1Form>})
{
}

Frmzol21Form::Frmzol21Form()
    : ResultForm(QStringLiteral("frmzol21"), ChartKind::EN,
                 {unloadOf<Frmzol21Form>, unloadOf<Frmzol20Form>, unloadOf<Frmzol23Form>,
                  unloadOf<Frmzol2Form>, unloadOf<Frmzol1Form>})
{
}

Frmzol211Form::Frmzol211Form()
    : ResultForm(QStringLiteral("frmzol211"), ChartKind::EN,
                 {unloadOf<Frmzol211Form>, unloadOf<Frmzol2Form>, unloadOf<Frmzol1Form>,
                  unloadOf<Frmzol22Form>, unloadOf<Frmzol20Form>})
{
}

void Frmzol211Form::afterExit()
{
    // The next subject is entered in a fresh subject window.
    frmzol2().Show();
}

namespace {
std::function<void(ResultForm&)>& reportOpener()
{
    static std::function<void(ResultForm&)> opener;
    return opener;
}
} // namespace

void setResultReportOpener(std::function<void(ResultForm&)> opener)
{
    reportOpener() = std::move(opener);
}

void showResultReport(ResultForm& window)
{
    if (reportOpener())
        reportOpener()(window);
}

} // namespace zol
