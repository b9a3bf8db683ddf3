#include "records/statswindows.h"

#include "platform/database.h"
#include "platform/fonts.h"
#include "platform/printing.h"
#include "platform/twips.h"

#include <QLabel>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>

namespace zol {

struct LabelPlace {
    int number;
    QString caption;
    int left, top, width, height;
};

struct ButtonPlace {
    QString caption;
    int left, top, width, height;
};

// One window's table: every label at its place in twips, which labels are
// centred or right-aligned (the others are left-aligned), and colours.
struct SheetLayout {
    QString name;
    QString caption;
    int width, height;
    bool paper;          // white sheet with white labels: a print layout
    bool dialogBorder;   // fixed dialog border, no taskbar button
    QList<LabelPlace> labels;
    QList<int> centred;
    QList<int> right;
    QColor headings;
    QColor scaleCaptions;
    ButtonPlace print;
    ButtonPlace exit;
};

namespace {

const QColor kBlack(0, 0, 0);
const QColor kHeadingBlue(0, 0, 192);
const QColor kCaptionBrown(128, 64, 0);
const QColor kCaptionGrey(64, 64, 64);

QList<int> range(int first, int last)
{
    QList<int> r;
    for (int n = first; n <= last; ++n)
        r << n;
    return r;
}

// The heading line (Label25, Label11, Label12) and the four scale lines
// P, E, N, L 480 twips apart: caption, mean and deviation.
QList<LabelPlace> scaleTable(int headTop, int factorLeft, int meanHeadLeft, int devHeadLeft,
                             int firstTop, int captionLeft, int meanLeft, int devLeft)
{
    QList<LabelPlace> t = {
        {25, QStringLiteral("因   子"), factorLeft, headTop, 855, 375},
        {11, QStringLiteral("平均数"), meanHeadLeft, headTop, 735, 255},
        {12, QStringLiteral("标准差"), devHeadLeft, headTop, 735, 255},
    };
    const QString scales[4] = {QStringLiteral("P 标准分"), QStringLiteral("E 标准分"),
                               QStringLiteral("N 标准分"), QStringLiteral("L 标准分")};
    for (int i = 0; i < 4; ++i) {
        const int top = firstTop + 480 * i;
        t << LabelPlace{13 + i, scales[i], captionLeft, top, 855, 375}
          << LabelPlace{17 + 2 * i, QString(), meanLeft, top, 735, 255}
          << LabelPlace{18 + 2 * i, QString(), devLeft, top, 735, 255};
    }
    return t;
}

void resize(QList<LabelPlace>& labels, const QList<int>& numbers, int width, int height)
{
    for (LabelPlace& l : labels)
        if (numbers.contains(l.number)) {
            l.width = width;
            l.height = height;
        }
}

QString title(const char16_t* text) { return QString::fromUtf16(text); }

SheetLayout layoutOf10()
{
    SheetLayout s{QStringLiteral("frmzol10"), QStringLiteral("Vormel人格测试成人版统计分析"),
                  4725, 5970, false, false, {}, {}, {}, kHeadingBlue, kCaptionBrown,
                  {QStringLiteral("打印"), 1440, 4920, 735, 375},
                  {QStringLiteral("退出"), 3000, 4920, 615, 375}};
    s.labels = {
        {1, title(u"Vormel人格测试统计分析"), 720, 480, 3615, 495},
        {2, QStringLiteral("总例数："), 1440, 1200, 735, 255},
        {3, QString(), 2160, 1200, 975, 255},
        {4, QStringLiteral("人"), 3240, 1200, 255, 255},
        {5, QStringLiteral("男"), 1080, 1680, 255, 255},
        {6, QString(), 1320, 1680, 735, 255},
        {7, QStringLiteral("人"), 2040, 1680, 375, 375},
        {8, QStringLiteral("女"), 2640, 1680, 255, 255},
        {9, QString(), 2880, 1680, 735, 255},
        {10, QStringLiteral("人"), 3600, 1680, 375, 255},
    };
    s.labels += scaleTable(2280, 840, 2160, 3360, 2760, 840, 2160, 3360);
    s.centred = QList<int>{3, 6, 9} + range(11, 25);
    return s;
}

SheetLayout layoutOf16()
{
    SheetLayout s{QStringLiteral("frmzol16"), QStringLiteral("Vormel人格测试成人版男性统计分析"),
                  4635, 5310, false, true, {}, {6}, {}, kHeadingBlue, kCaptionBrown,
                  {QStringLiteral("打 印"), 1080, 4440, 975, 375},
                  {QStringLiteral("退  出"), 2520, 4440, 975, 375}};
    s.labels = {
        {1, title(u"ＺＯＬ成年男性统计分析"), 480, 480, 3495, 495},
        {2, QStringLiteral("男"), 1680, 1200, 375, 255},
        {6, QString(), 1920, 1200, 735, 255},
        {4, QStringLiteral("人"), 2640, 1200, 255, 255},
    };
    s.labels += scaleTable(1800, 720, 2160, 3360, 2280, 600, 2040, 3360);
    resize(s.labels, {25}, 735, 255);
    resize(s.labels, range(13, 24), 855, 255);
    resize(s.labels, {14}, 975, 255);
    resize(s.labels, {13, 17, 18, 22}, 855, 375);
    return s;
}

SheetLayout layoutOf15()
{
    SheetLayout s{QStringLiteral("frmzol15"), QStringLiteral("Vormel人格测试成人版女性统计分析"),
                  4710, 5340, false, true, {}, {9, 12, 18, 20, 22, 24}, {}, kHeadingBlue,
                  kCaptionBrown, {QStringLiteral("打印"), 1440, 4440, 615, 375},
                  {QStringLiteral("退出"), 2880, 4440, 615, 375}};
    s.labels = {
        {1, title(u"Vormel人格测试统计分析"), 600, 720, 3495, 495},
        {2, QStringLiteral("女"), 1560, 1320, 375, 255},
        {9, QString(), 1920, 1320, 735, 255},
        {4, QStringLiteral("人"), 2760, 1320, 255, 255},
    };
    s.labels += scaleTable(1800, 720, 1920, 3120, 2280, 720, 1920, 3120);
    return s;
}

SheetLayout layoutOf12()
{
    SheetLayout s{QStringLiteral("frmzol12"), QStringLiteral("Vormel人格成人版样本统计分析"),
                  9555, 6960, true, false, {}, QList<int>{3, 6} + range(11, 25), {9}, kBlack,
                  kCaptionBrown, {}, {}};
    s.labels = {
        {1, title(u"Vormel人格测试统计分析"), 3840, 2760, 3615, 495},
        {2, QStringLiteral("总例数"), 4680, 3480, 735, 255},
        {3, QString(), 5280, 3480, 855, 255},
        {4, QStringLiteral("人"), 6120, 3480, 255, 255},
        {5, QStringLiteral("男"), 4200, 3960, 255, 255},
        {6, QString(), 4440, 3960, 735, 255},
        {7, QStringLiteral("人"), 5160, 3960, 255, 255},
        {8, QStringLiteral("女"), 5640, 3960, 255, 255},
        {9, QString(), 5880, 3960, 615, 255},
        {10, QStringLiteral("人"), 6600, 3960, 375, 255},
    };
    s.labels += scaleTable(4440, 3840, 5040, 6240, 4920, 3840, 5040, 6240);
    return s;
}

SheetLayout layoutOf18()
{
    SheetLayout s{QStringLiteral("frmzol18"), QStringLiteral("Vormel人格测试成人版男性统计分析"),
                  10110, 7200, true, false, {}, QList<int>{6} + range(11, 25), {}, kBlack,
                  kBlack, {}, {}};
    s.labels = {
        {1, title(u"ZOL成年男性统计分析"), 4320, 2880, 3135, 375},
        {2, QStringLiteral("男"), 5160, 3720, 255, 255},
        {6, QString(), 5520, 3720, 735, 255},
        {4, QStringLiteral("人"), 6360, 3720, 255, 255},
    };
    s.labels += scaleTable(4440, 4320, 5520, 6720, 4920, 4320, 5520, 6720);
    return s;
}

SheetLayout layoutOf17()
{
    SheetLayout s{QStringLiteral("frmzol17"), QStringLiteral("Vormel人格测试成人版女性统计分析"),
                  9345, 6885, true, false, {}, QList<int>{9} + range(11, 25), {}, kBlack,
                  kCaptionGrey, {}, {}};
    s.labels = {
        {1, title(u"ＺＯＬ成年女性统计分析"), 4080, 2760, 3495, 495},
        {2, QStringLiteral("女"), 5040, 3480, 255, 255},
        {9, QString(), 5280, 3480, 975, 255},
        {4, QStringLiteral("人"), 6240, 3480, 255, 255},
    };
    s.labels += scaleTable(4200, 4200, 5400, 6600, 4680, 4200, 5400, 6600);
    return s;
}

// A print layout lands on the page at the size it has on a 96 dpi screen,
// from the top-left corner of the printable area.
PrintOutcome printSheet(QWidget* parent, QWidget& sheet)
{
    const QPageLayout page(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                           QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    const PdfOffer pdf{QStringLiteral("没有可用的打印机，请选择保存统计表的PDF文件"),
                       pdfFileName({sheet.windowTitle()}, QDate::currentDate())};
    return printJob(parent, sheet.windowTitle(), page, pdf, [&sheet](QPainter& p, QPrinter& printer) {
        const double scale = printer.resolution() / 96.0;
        p.scale(scale, scale);
        sheet.render(&p);
        return true;
    });
}

} // namespace

// --- StatisticsForm -----------------------------------------------------------

StatisticsForm::StatisticsForm(const SheetLayout& layout, StatsGroup group)
    : Form(layout.name), group_(group)
{
    setWindowTitle(layout.caption);
    setFixedDialogBorder();
    if (layout.dialogBorder)
        setWindowFlags((windowFlags() & ~Qt::WindowType_Mask) | Qt::Dialog);
    setClientSize(layout.width, layout.height);
    if (layout.paper)
        setBackColor(this, Qt::white);

    const QFont body = vbFont(QStringLiteral("宋体"), 10.5);
    for (const LabelPlace& l : layout.labels) {
        QLabel* label = makeLabel(this, l.caption, l.left, l.top, l.width, l.height);
        label->setObjectName(QStringLiteral("Label%1").arg(l.number));
        label->setFont(l.number == 1 ? vbFont(QStringLiteral("楷体_GB2312"), 14.25, true) : body);
        Qt::Alignment align = Qt::AlignLeft;
        if (layout.centred.contains(l.number))
            align = Qt::AlignHCenter;
        else if (layout.right.contains(l.number))
            align = Qt::AlignRight;
        label->setAlignment(align | Qt::AlignTop);
        if (l.number == 25 || l.number == 11 || l.number == 12)
            setForeColor(label, layout.headings);
        else if (l.number >= 13 && l.number <= 16)
            setForeColor(label, layout.scaleCaptions);
        else if (layout.paper)
            setForeColor(label, kBlack);
        if (layout.paper)
            setBackColor(label, Qt::white);
        *slot(l.number) = label;
    }
}

QLabel** StatisticsForm::slot(int number)
{
    QLabel** table[] = {&Label1,  &Label2,  &Label3,  &Label4,  &Label5,  &Label6,  &Label7,
                        &Label8,  &Label9,  &Label10, &Label11, &Label12, &Label13, &Label14,
                        &Label15, &Label16, &Label17, &Label18, &Label19, &Label20, &Label21,
                        &Label22, &Label23, &Label24, &Label25};
    return table[number - 1];
}

QLabel* StatisticsForm::label(int number) const
{
    return number >= 1 && number <= 25 ? *const_cast<StatisticsForm*>(this)->slot(number) : nullptr;
}

QMap<QString, QString> StatisticsForm::cells() const
{
    QMap<QString, QString> c;
    for (const StatStatement& s : statisticsStatements(StatsGroup::All))
        if (QLabel* l = this->*s.label)
            c.insert(s.cell, l->text());
    return c;
}

void StatisticsForm::setCells(const QMap<QString, QString>& cells)
{
    for (const StatStatement& s : statisticsStatements(StatsGroup::All))
        if (QLabel* l = this->*s.label)
            l->setText(cells.value(s.cell));
}

void StatisticsForm::computeCells()
{
    setCells(computeStatistics(group_));
}

// --- StatisticsWindowForm -----------------------------------------------------

StatisticsWindowForm::StatisticsWindowForm(const SheetLayout& layout, StatsGroup group)
    : StatisticsForm(layout, group)
{
    Command1 = makeButton(this, layout.print.caption, layout.print.left, layout.print.top,
                          layout.print.width, layout.print.height);
    Command2 = makeButton(this, layout.exit.caption, layout.exit.left, layout.exit.top,
                          layout.exit.width, layout.exit.height);
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    centerOnScreen();
}

void StatisticsWindowForm::Form_Load() { computeCells(); }

void StatisticsWindowForm::Command1_Click()
{
    // A layout that stayed loaded from an earlier print is filled again, so
    // that the print never shows older figures than this window.
    bool wasLoaded = false;
    StatisticsLayoutForm& layout = printLayout(&wasLoaded);
    if (wasLoaded)
        layout.fill();
    // Every outcome leaves this window and its layout as they are: a failure
    // has been said by the print itself, a cancel says nothing.
    switch (printSheet(this, layout)) {
    case PrintOutcome::Printed: case PrintOutcome::Cancelled: case PrintOutcome::Failed: break;
    }
}

Frmzol10Form::Frmzol10Form() : StatisticsWindowForm(layoutOf10(), StatsGroup::All) {}
Frmzol16Form::Frmzol16Form() : StatisticsWindowForm(layoutOf16(), StatsGroup::Men) {}
Frmzol15Form::Frmzol15Form() : StatisticsWindowForm(layoutOf15(), StatsGroup::Women) {}

namespace {
template <class T>
StatisticsLayoutForm& referLayout(bool* wasLoaded)
{
    *wasLoaded = DefaultForm<T>::loaded();
    return DefaultForm<T>::get();
}
} // namespace

StatisticsLayoutForm& Frmzol10Form::printLayout(bool* w) { return referLayout<Frmzol12Form>(w); }
StatisticsLayoutForm& Frmzol16Form::printLayout(bool* w) { return referLayout<Frmzol18Form>(w); }
StatisticsLayoutForm& Frmzol15Form::printLayout(bool* w) { return referLayout<Frmzol17Form>(w); }

// --- print layouts ------------------------------------------------------------

Frmzol12Form::Frmzol12Form() : StatisticsLayoutForm(layoutOf12(), StatsGroup::All) {}
Frmzol18Form::Frmzol18Form() : StatisticsLayoutForm(layoutOf18(), StatsGroup::Men) {}
Frmzol17Form::Frmzol17Form() : StatisticsLayoutForm(layoutOf17(), StatsGroup::Women) {}

void Frmzol12Form::fill() { setCells(frmzol10().cells()); }

} // namespace zol
