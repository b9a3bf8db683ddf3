#include "reports/reportframe.h"

#include "platform/buildinfo.h"
#include "platform/dialogs.h"
#include "platform/printing.h"

#include <QApplication>
#include <QPalette>

namespace zol {

namespace {

constexpr OleColor kOleBlue = 16711680;
constexpr OleColor kOleBlack = 0;

// The design client area of every report window (twips).
constexpr int kClientWidth = 5175;
constexpr int kClientHeight = 6720;

} // namespace

HeaderFooterTexts headerFooterTexts(HeaderFooterSet set)
{
    const QString web = build::webPage();
    const QString mail = build::mailAddress();
    const QString series = QStringLiteral("Hollisk系列软件");
    switch (set) {
    case HeaderFooterSet::A:
        return {{QString(), QString(), QString()}, {web, series, mail}};
    case HeaderFooterSet::B:
        return {{QString(), series, QString()},
                {web, QStringLiteral("B r e v a n d 出 品"), mail}};
    case HeaderFooterSet::C:
        break;
    }
    return {{web, series, QStringLiteral("Email:") + mail},
            {QString(), QStringLiteral("知 识 改 变 命 运   态 度 决 定 高 度"), QString()}};
}

PageSetup resultReportPage()
{
    PageSetup s;
    s.papersize = 13;
    s.paperwidth = 10318.11;
    s.paperheight = 14570.08;
    s.leftmargin = 1700.787;
    s.rightmargin = 1417.323;
    s.bottommargin = 1417.323;
    s.font.Name = QStringLiteral("楷体_GB2312");
    s.font.Size = 9;
    s.font.Weight = 400;
    s.font.Charset = 134;
    s.forecolor = QApplication::palette().color(QPalette::WindowText);
    s.toolbarcolor = QApplication::palette().color(QPalette::Window);
    s.toolbarstyle = 2;
    return s;
}

ReportForm::ReportForm(const ReportDesign& design) : Form(design.name), design_(design)
{
    setWindowTitle(design.caption);
    setClientSize(kClientWidth, kClientHeight, false);
    CurtPrinter1 = new CurtPrinter(design.page, this);
    connect(CurtPrinter1, &CurtPrinter::RenderRequest, this, [this] { CurtPrinter1_RenderRequest(); });
    connect(CurtPrinter1, &CurtPrinter::PreviewClosed, this, [this] { CurtPrinter1_PreviewClosed(); });
    connect(CurtPrinter1, &CurtPrinter::PrintRequest, this, [this] { CurtPrinter1_PrintRequest(); });
    // The texts are filled in by reference while the page is laid out.
    CurtPrinter1->GetHeader = [this](int page, QString& l, QString& c, QString& r) {
        CurtPrinter1_GetHeader(page, l, c, r);
    };
    CurtPrinter1->GetFooter = [this](int page, QString& l, QString& c, QString& r) {
        CurtPrinter1_GetFooter(page, l, c, r);
    };
    Form_Resize();
    centerOnScreen();
}

void ReportForm::PrintContent(PrintTarget target)
{
    CurtPrinter& p = *CurtPrinter1;
    p.StartDoc(target == PrintTarget::Preview ? 0 : 1);
    p.NewPage();
    layOutPage(p);
    p.pdfFileName = pdfFileName({subjectName(), design_.fileKind}, QDate::currentDate());
    p.EndDoc();
}

void ReportForm::FillData()
{
    CurtPrinter1->setVisible(false);
    CurtPrinter1->setZoom(design_.fillZoom);
}

void ReportForm::Form_Load()
{
    FillData();
    CurtPrinter1->FooterStyle.Font.Underline = true;
    CurtPrinter1->FooterStyle.Font.Italic = true;
    CurtPrinter1->FooterStyle.Color = kOleBlue;
    CurtPrinter1->HeaderStyle.Frame = 0;
    CurtPrinter1->HeaderStyle.Rule = 0;
    CurtPrinter1->HeaderStyle.Color = kOleBlack;
    CurtPrinter1->setVisible(true);
    CurtPrinter1->setZoom(design_.shownZoom);
    PrintContent(PrintTarget::Preview);
}

bool ReportForm::controlIdle()
{
    if (!CurtPrinter1->Busy())
        return true;
    CurtPrinter1->CancelDoc();
    MsgBox(QStringLiteral("打印控件忙，稍后重试。"), vbInformation);
    return false;
}

void ReportForm::Form_QueryUnload(bool& cancel)
{
    if (!controlIdle())
        cancel = true;
}

void ReportForm::Form_Resize()
{
    CurtPrinter1->setGeometry(0, 0, width(), height());
}

void ReportForm::resizeEvent(QResizeEvent* e)
{
    Form::resizeEvent(e);
    Form_Resize();
}

void ReportForm::CurtPrinter1_RenderRequest() { PrintContent(PrintTarget::Preview); }

void ReportForm::CurtPrinter1_PreviewClosed()
{
    // The same busy check as the close box, before anything is hidden: a
    // window kept open must keep its preview.
    if (!controlIdle())
        return;
    CurtPrinter1->setVisible(false);
    Unload();
}

void ReportForm::CurtPrinter1_PrintRequest() { PrintContent(PrintTarget::Printer); }

void ReportForm::CurtPrinter1_GetHeader(int, QString& left, QString& centre, QString& right)
{
    const HeaderFooterTexts t = headerFooterTexts(design_.texts);
    left = t.header[0];
    centre = t.header[1];
    right = t.header[2];
}

void ReportForm::CurtPrinter1_GetFooter(int, QString& left, QString& centre, QString& right)
{
    const HeaderFooterTexts t = headerFooterTexts(design_.texts);
    left = t.footer[0];
    centre = t.footer[1];
    right = t.footer[2];
}

void prepareReport(ReportForm& report)
{
    report.CurtPrinter1->setVisible(true);
    report.PrintContent(PrintTarget::Preview);
}

} // namespace zol
