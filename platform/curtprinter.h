// The print-preview control of the report windows.
//
// A report lays its page out through this control in millimetres from the
// top-left corner of the printable area. Between StartDoc and EndDoc every
// call is recorded as a list of drawing operations (texts, lines, circles);
// EndDoc then plays the list onto the preview, or onto a printer or PDF file
// through printJob. Tests read the recorded list.
//
// Text is measured on one fixed high-resolution device, whatever the target,
// so that the preview, the paper and a PDF break and align the same way.
//
//     p.StartDoc(0); p.NewPage();
//     p.FontSize = 10; p.PrintText("姓名"); p.NewLine(1);
//     p.DrawLine(12, 40, 123, 40, 255);   // red
//     p.EndDoc();
#pragma once

#include <QColor>
#include <QList>
#include <QPageLayout>
#include <QPointF>
#include <QString>
#include <QWidget>
#include <functional>

class QAction;
class QLabel;
class QPainter;
class QScrollArea;
class QToolBar;

namespace zol {

// A colour as the page passes it: red in the low byte, then green, then blue
// (red 255, blue 16711680).
using OleColor = quint32;
QColor fromOleColor(OleColor color);
OleColor toOleColor(const QColor& color);

// The standard font object: face name as the layouts give it (楷体_GB2312,
// 宋体), size in points and style.
struct PrinterFont {
    QString Name;
    double Size = 9;
    int Weight = 400;
    int Charset = 134;  // GB2312
    bool Italic = false;
    bool Underline = false;

    bool operator==(const PrinterFont& o) const
    {
        return Name == o.Name && Size == o.Size && Weight == o.Weight && Charset == o.Charset
               && Italic == o.Italic && Underline == o.Underline;
    }
};

// The look of the header or the footer: colour, the rule under the header
// (over the footer) and the frame around it, both in line-width units
// (0 means none), and the font of its texts.
struct PrintStyle {
    OleColor Color = 0;
    int Rule = 1;
    int Frame = 0;
    PrinterFont Font;
};

// What a report window stores with its control at design time: paper and
// margins in twips, the page font and colours, the toolbar's look.
struct PageSetup {
    int papersize = 13;
    double paperwidth = 10318.11;   // 182 mm
    double paperheight = 14570.08;  // 257 mm
    double leftmargin = 1133.858;   // 20 mm unless the window stores its own
    double rightmargin = 1133.858;
    double topmargin = 1133.858;
    double bottommargin = 1133.858;
    PrinterFont font;
    QColor forecolor;     // invalid: the system's window-text colour
    QColor toolbarcolor;  // invalid: the system's menu colour
    int toolbarstyle = 2; // 0 icons, 1 texts, 2 texts beside icons
};

double twipsToMm(double twips);

// One recorded drawing operation. Positions in millimetres from the
// top-left corner of the printable area; header and footer lie in the
// margins (negative y, or y beyond the printable height).
struct PrintOp {
    enum Kind { Text, Line, Circle } kind = Text;
    enum Place { Body, Header, Footer } place = Body;
    QPointF a;            // text: top-left of its line; line: start; circle: centre
    QPointF b;            // line: end
    double radius = 0;    // circle
    double aspect = 1;    // circle: height to width
    QString text;
    PrinterFont font;     // text: face, size in points, style
    double width = 0;     // text: measured width in millimetres
    OleColor color = 0;
    int lineWidth = 1;    // lines and circles: units of 0.2 mm

    bool operator==(const PrintOp& o) const
    {
        return kind == o.kind && place == o.place && a == o.a && b == o.b && radius == o.radius
               && aspect == o.aspect && text == o.text && font == o.font && width == o.width
               && color == o.color && lineWidth == o.lineWidth;
    }
};

struct PrintPage {
    QList<PrintOp> ops;
    bool operator==(const PrintPage& o) const { return ops == o.ops; }
};

struct PrintDocument {
    int target = 0;  // 0 preview, 1 printer
    QList<PrintPage> pages;
};

// Paints a recorded page onto a device with pxPerMm device pixels to the
// millimetre; the painter's origin is the paper's top-left corner.
void paintPrintPage(QPainter& painter, const PageSetup& setup, const PrintPage& page,
                    double pxPerMm);

class PreviewPane;

class CurtPrinter : public QWidget {
    Q_OBJECT
public:
    explicit CurtPrinter(const PageSetup& setup, QWidget* parent = nullptr);
    ~CurtPrinter() override;

    // The document.
    void StartDoc(int target);   // 0 preview, 1 printer: a fresh, empty document
    void NewPage();
    // The text as a line of its own at the current y, then the next line.
    // Size 0: the current FontSize. Alignment 0 left (from CurrentX),
    // 1 right, 2 centred.
    void PrintLine(const QString& text, double size = 0, int alignment = 2);
    void PrintText(const QString& text);
    // Wrapped between CurrentX and the right edge; before and after are
    // spaces in millimetres, spacing a factor of the line height.
    void PrintParagraph(const QString& text, double before, double after, double spacing);
    // Down one line of the current font, and extra millimetres beyond that.
    void NewLine(double extra = 0);
    void DrawLine(double x1, double y1, double x2, double y2, OleColor color);
    void DrawCircle(double x, double y, double radius, OleColor color, double aspect);
    void EndDoc();
    void CancelDoc();

    double TextWidth(const QString& text) const;  // millimetres, current font and size
    double RightEdge() const;                     // printable width
    double printableHeight() const;
    double lineHeight(double size) const;          // millimetres, current font face
    bool Busy() const { return recording_ || printing_; }

    int Zoom() const { return zoom_; }
    void setZoom(int percent);  // 0: the whole page fits the window

    // State the page writes between calls.
    double CurrentX = 0;
    double CurrentY = 0;
    double FontSize = 9;
    int LineWidth = 1;
    int TextMode = 0;  // kept for the layouts; it changes nothing
    PrinterFont Font;
    PrintStyle HeaderStyle;
    PrintStyle FooterStyle;

    // The name of the PDF file a print proposes where it goes to a file.
    QString pdfFileName;

    // Asked for the three texts (left, centre, right) of each page's header
    // and footer; the first argument is the page number.
    std::function<void(int, QString&, QString&, QString&)> GetHeader;
    std::function<void(int, QString&, QString&, QString&)> GetFooter;

    const PageSetup& pageSetup() const { return setup_; }
    QPageLayout pageLayout() const;
    // The document ended last (preview or printer) and the one on preview.
    const PrintDocument& document() const { return last_; }
    const PrintDocument& previewDocument() const { return preview_; }
    int previewPage() const { return page_; }
    // Documents ended (shown or printed) since the control was made.
    int documentCount() const { return ended_; }
    void showPage(int index);

    QAction *actionPrint = nullptr, *actionZoomIn = nullptr, *actionZoomOut = nullptr,
            *actionFit = nullptr, *actionPageUp = nullptr, *actionPageDown = nullptr,
            *actionClose = nullptr;

    // Millimetres to preview pixels at the zoom in force.
    double previewScale() const;

signals:
    void RenderRequest();
    void PreviewClosed();
    void PrintRequest();
    // After EndDoc has shown or printed a document (0 preview, 1 printer).
    void documentEnded(int target);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    friend class PreviewPane;
    void beginPage();
    void addFigure(PrintOp& op, OleColor color);
    void ensureRoom(double height);
    void addText(const QString& text, double x, double size, PrintOp::Place place = PrintOp::Body);
    void addHeaderFooter(PrintOp::Place place, const PrintStyle& style, const QString texts[3]);
    bool printDocument();
    void updatePreview();
    void stepZoom(int direction);
    void paneNeedsDocument();

    PageSetup setup_;
    PrintDocument recording_doc_;
    PrintDocument preview_;
    PrintDocument last_;
    bool recording_ = false;
    bool printing_ = false;
    bool cancelled_ = false;
    bool renderAsked_ = false;
    int zoom_ = 100;
    int page_ = 0;
    int ended_ = 0;

    QToolBar* toolbar_ = nullptr;
    QLabel* status_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    PreviewPane* pane_ = nullptr;
};

} // namespace zol
