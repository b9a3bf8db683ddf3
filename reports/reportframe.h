// The frame every report window shares: a window that holds nothing but the
// print-preview control CurtPrinter1, renders its page through PrintContent
// and answers the control's events.
//
// The windows differ only in data (ReportDesign: caption, page set-up, the
// two zooms, the header and footer texts) and in the page they lay out.
// A report window keeps no data of its own: every render reads its opener
// afresh.
#pragma once

#include "platform/curtprinter.h"
#include "platform/form.h"

namespace zol {

// Where PrintContent draws: the preview, or the system's printer.
enum class PrintTarget { Preview, Printer };

// The three sets of header and footer texts.
enum class HeaderFooterSet { A, B, C };

struct HeaderFooterTexts {
    QString header[3];  // left, centre, right
    QString footer[3];
};
HeaderFooterTexts headerFooterTexts(HeaderFooterSet set);

struct ReportDesign {
    QString name;
    QString caption;
    PageSetup page;
    int fillZoom = 0;     // set by FillData
    int shownZoom = 100;  // set at the end of the load step
    HeaderFooterSet texts = HeaderFooterSet::A;
    QString fileKind;     // the kind of report in a proposed PDF file name
};

// The page set-up of the result reports: B5, margins 30 mm left, 25 mm right
// and bottom, 楷体_GB2312 9 pt.
PageSetup resultReportPage();

class ReportForm : public Form {
    Q_OBJECT
public:
    CurtPrinter* CurtPrinter1 = nullptr;

    // Renders the whole page: StartDoc (0 preview, 1 printer), NewPage, the
    // page, EndDoc.
    void PrintContent(PrintTarget target);
    // Hides the control and sets the zoom the load step starts from.
    void FillData();

    const ReportDesign& design() const { return design_; }

    // Event handlers of the control.
    void CurtPrinter1_RenderRequest();
    void CurtPrinter1_PreviewClosed();
    void CurtPrinter1_PrintRequest();
    void CurtPrinter1_GetHeader(int page, QString& left, QString& centre, QString& right);
    void CurtPrinter1_GetFooter(int page, QString& left, QString& centre, QString& right);

protected:
    explicit ReportForm(const ReportDesign& design);

    // The page, between NewPage and EndDoc.
    virtual void layOutPage(CurtPrinter& printer) = 0;
    // The name of the subject whose test the page prints, as shown.
    virtual QString subjectName() = 0;

    void Form_Load() override;
    void Form_QueryUnload(bool& cancel) override;
    void Form_Resize();
    void resizeEvent(QResizeEvent* e) override;

private:
    // False (with the busy message) while the control renders or prints.
    bool controlIdle();

    ReportDesign design_;
};

// The opening sequence of a report up to its showing: the control made
// visible (the window loads and renders once when it was not loaded), then
// the page rendered again.
void prepareReport(ReportForm& report);

} // namespace zol
