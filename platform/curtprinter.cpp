#include "platform/curtprinter.h"

#include "platform/printing.h"

#include <QAction>
#include <QFontMetricsF>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QScrollArea>
#include <QTextLayout>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace zol {

namespace {

// Texts are measured and laid out at 720 dots to the inch: one point is ten
// pixels there, so every size the layouts use is a whole pixel size.
constexpr double kRefDpi = 720;
constexpr double kRefPxPerMm = kRefDpi / 25.4;
constexpr double kRefPxPerPoint = kRefDpi / 72;
constexpr double kMmPerLineWidth = 0.2;
constexpr int kPaneMargin = 10;  // pixels of grey around the previewed paper

// Header and footer stand this far (mm) outside the printable area; their
// rules half way.
constexpr double kHeaderGap = 3;
constexpr double kRuleGap = 1.5;

const QPaintDevice& referenceDevice()
{
    static QImage device = [] {
        QImage img(1, 1, QImage::Format_RGB32);
        const int dpm = qRound(kRefDpi / 0.0254);
        img.setDotsPerMeterX(dpm);
        img.setDotsPerMeterY(dpm);
        return img;
    }();
    return device;
}

// The face names of the layouts do not exist here. The pages align columns
// with runs of blanks, so they need faces whose blank is exactly half a
// Chinese character wide; the AR PL faces are.
QString installedFace(const QString& name)
{
    if (name.startsWith(QStringLiteral("楷体")))
        return QStringLiteral("AR PL UKai CN");
    if (name == QStringLiteral("宋体"))
        return QStringLiteral("AR PL UMing CN");
    return name;
}

QFont referenceFont(const PrinterFont& f, double size)
{
    QFont font;
    font.setFamilies({installedFace(f.Name), f.Name});
    font.setPixelSize(qMax(1, qRound(size * kRefPxPerPoint)));
    font.setWeight(QFont::Weight(qBound(100, f.Weight, 900)));
    font.setItalic(f.Italic);
    font.setUnderline(f.Underline);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QFontMetricsF referenceMetrics(const PrinterFont& f, double size)
{
    return QFontMetricsF(referenceFont(f, size), &referenceDevice());
}

double widthMm(const PrinterFont& f, double size, const QString& text)
{
    return referenceMetrics(f, size).horizontalAdvance(text) / kRefPxPerMm;
}

double heightMm(const PrinterFont& f, double size)
{
    return referenceMetrics(f, size).height() / kRefPxPerMm;
}

QIcon themeIcon(const char* name) { return QIcon::fromTheme(QString::fromLatin1(name)); }

} // namespace

QColor fromOleColor(OleColor color)
{
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

OleColor toOleColor(const QColor& color)
{
    return OleColor(color.red()) | (OleColor(color.green()) << 8) | (OleColor(color.blue()) << 16);
}

double twipsToMm(double twips) { return twips / 1440.0 * 25.4; }

void paintPrintPage(QPainter& painter, const PageSetup& setup, const PrintPage& page,
                    double pxPerMm)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.translate(twipsToMm(setup.leftmargin) * pxPerMm, twipsToMm(setup.topmargin) * pxPerMm);
    // Everything is drawn in the units it was measured in.
    const double scale = pxPerMm / kRefPxPerMm;
    painter.scale(scale, scale);
    const double onePixel = 1 / scale;
    for (const PrintOp& op : page.ops) {
        const QColor colour = fromOleColor(op.color);
        switch (op.kind) {
        case PrintOp::Text: {
            const QFont font = referenceFont(op.font, op.font.Size);
            painter.setFont(font);
            painter.setPen(colour);
            const double ascent = QFontMetricsF(font, &referenceDevice()).ascent();
            painter.drawText(QPointF(op.a.x() * kRefPxPerMm, op.a.y() * kRefPxPerMm + ascent),
                             op.text);
            break;
        }
        case PrintOp::Line:
        case PrintOp::Circle: {
            QPen pen(colour, qMax(op.lineWidth * kMmPerLineWidth * kRefPxPerMm, onePixel));
            pen.setCapStyle(Qt::FlatCap);
            painter.setPen(pen);
            painter.setBrush(Qt::NoBrush);
            if (op.kind == PrintOp::Line)
                painter.drawLine(op.a * kRefPxPerMm, op.b * kRefPxPerMm);
            else
                painter.drawEllipse(op.a * kRefPxPerMm, op.radius * kRefPxPerMm,
                                    op.radius * op.aspect * kRefPxPerMm);
            break;
        }
        }
    }
    painter.restore();
}

// The paper on screen, at the control's zoom.
class PreviewPane : public QWidget {
public:
    explicit PreviewPane(CurtPrinter* owner) : QWidget(owner), owner_(owner) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        const PrintDocument& doc = owner_->preview_;
        if (doc.pages.isEmpty()) {
            owner_->paneNeedsDocument();
            return;
        }
        const PageSetup& s = owner_->setup_;
        const double scale = owner_->previewScale();
        const QRectF paper(kPaneMargin, kPaneMargin, twipsToMm(s.paperwidth) * scale,
                           twipsToMm(s.paperheight) * scale);
        QPainter p(this);
        p.fillRect(paper.translated(3, 3), QColor(96, 96, 96));
        p.fillRect(paper, Qt::white);
        p.setPen(QColor(128, 128, 128));
        p.drawRect(paper);
        p.translate(paper.topLeft());
        paintPrintPage(p, s, doc.pages.value(owner_->page_), scale);
    }

private:
    CurtPrinter* owner_;
};

CurtPrinter::CurtPrinter(const PageSetup& setup, QWidget* parent)
    : QWidget(parent), setup_(setup)
{
    Font = setup.font;
    FontSize = Font.Size;
    HeaderStyle.Font = Font;
    FooterStyle.Font = Font;

    toolbar_ = new QToolBar(this);
    toolbar_->setToolButtonStyle(Qt::ToolButtonStyle(qBound(0, setup.toolbarstyle, 3)));
    if (setup.toolbarcolor.isValid()) {
        toolbar_->setAutoFillBackground(true);
        QPalette pal = toolbar_->palette();
        pal.setColor(QPalette::Window, setup.toolbarcolor);
        toolbar_->setPalette(pal);
    }
    actionPrint = toolbar_->addAction(themeIcon("document-print"), QStringLiteral("打印"));
    actionPrint->setShortcut(QKeySequence::Print);
    toolbar_->addSeparator();
    actionZoomIn = toolbar_->addAction(themeIcon("zoom-in"), QStringLiteral("放大"));
    actionZoomIn->setShortcut(QKeySequence::ZoomIn);
    actionZoomOut = toolbar_->addAction(themeIcon("zoom-out"), QStringLiteral("缩小"));
    actionZoomOut->setShortcut(QKeySequence::ZoomOut);
    actionFit = toolbar_->addAction(themeIcon("zoom-fit-best"), QStringLiteral("整页"));
    toolbar_->addSeparator();
    actionPageUp = toolbar_->addAction(themeIcon("go-previous"), QStringLiteral("上一页"));
    actionPageUp->setShortcut(QKeySequence::MoveToPreviousPage);
    actionPageDown = toolbar_->addAction(themeIcon("go-next"), QStringLiteral("下一页"));
    actionPageDown->setShortcut(QKeySequence::MoveToNextPage);
    toolbar_->addSeparator();
    actionClose = toolbar_->addAction(themeIcon("window-close"), QStringLiteral("关闭"));
    toolbar_->addSeparator();
    status_ = new QLabel(toolbar_);
    toolbar_->addWidget(status_);

    connect(actionPrint, &QAction::triggered, this, [this] {
        if (!Busy())
            emit PrintRequest();
    });
    connect(actionZoomIn, &QAction::triggered, this, [this] { stepZoom(+1); });
    connect(actionZoomOut, &QAction::triggered, this, [this] { stepZoom(-1); });
    connect(actionFit, &QAction::triggered, this, [this] { setZoom(0); });
    connect(actionPageUp, &QAction::triggered, this, [this] { showPage(page_ - 1); });
    connect(actionPageDown, &QAction::triggered, this, [this] { showPage(page_ + 1); });
    connect(actionClose, &QAction::triggered, this, [this] { emit PreviewClosed(); });

    scroll_ = new QScrollArea(this);
    scroll_->setBackgroundRole(QPalette::Dark);
    scroll_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    pane_ = new PreviewPane(this);
    scroll_->setWidget(pane_);
    scroll_->viewport()->installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolbar_);
    layout->addWidget(scroll_, 1);
    updatePreview();
}

CurtPrinter::~CurtPrinter() = default;

QPageLayout CurtPrinter::pageLayout() const
{
    const QPageSize size(QSizeF(twipsToMm(setup_.paperwidth), twipsToMm(setup_.paperheight)),
                         QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch);
    return QPageLayout(size, QPageLayout::Portrait,
                       QMarginsF(twipsToMm(setup_.leftmargin), twipsToMm(setup_.topmargin),
                                 twipsToMm(setup_.rightmargin), twipsToMm(setup_.bottommargin)),
                       QPageLayout::Millimeter);
}

double CurtPrinter::RightEdge() const
{
    return twipsToMm(setup_.paperwidth - setup_.leftmargin - setup_.rightmargin);
}

double CurtPrinter::printableHeight() const
{
    return twipsToMm(setup_.paperheight - setup_.topmargin - setup_.bottommargin);
}

double CurtPrinter::TextWidth(const QString& text) const { return widthMm(Font, FontSize, text); }

double CurtPrinter::lineHeight(double size) const { return heightMm(Font, size); }

void CurtPrinter::StartDoc(int target)
{
    recording_doc_ = PrintDocument{target == 0 ? 0 : 1, {}};
    recording_ = true;
    cancelled_ = false;
    CurrentX = CurrentY = 0;
    FontSize = Font.Size;
    LineWidth = 1;
    TextMode = 0;
}

void CurtPrinter::NewPage()
{
    if (!recording_)
        return;
    CurrentX = 0;
    beginPage();
}

void CurtPrinter::beginPage()
{
    recording_doc_.pages.append(PrintPage());
    CurrentY = 0;
    const int number = recording_doc_.pages.size();
    QString texts[3];
    if (GetHeader) {
        GetHeader(number, texts[0], texts[1], texts[2]);
        addHeaderFooter(PrintOp::Header, HeaderStyle, texts);
    }
    if (GetFooter) {
        for (QString& t : texts)
            t.clear();
        GetFooter(number, texts[0], texts[1], texts[2]);
        addHeaderFooter(PrintOp::Footer, FooterStyle, texts);
    }
}

void CurtPrinter::addHeaderFooter(PrintOp::Place place, const PrintStyle& style,
                                  const QString texts[3])
{
    if (texts[0].isEmpty() && texts[1].isEmpty() && texts[2].isEmpty())
        return;
    const double size = style.Font.Size;
    const double height = heightMm(style.Font, size);
    const bool header = place == PrintOp::Header;
    const double top = header ? -kHeaderGap - height : printableHeight() + kHeaderGap;
    QList<PrintOp>& ops = recording_doc_.pages.last().ops;
    auto line = [&](double x1, double y1, double x2, double y2, int width) {
        PrintOp op;
        op.kind = PrintOp::Line;
        op.place = place;
        op.a = QPointF(x1, y1);
        op.b = QPointF(x2, y2);
        op.color = style.Color;
        op.lineWidth = width;
        ops.append(op);
    };
    for (int i = 0; i < 3; ++i) {
        if (texts[i].isEmpty())
            continue;
        PrintOp op;
        op.place = place;
        op.text = texts[i];
        op.font = style.Font;
        op.width = widthMm(style.Font, size, texts[i]);
        const double x = i == 0 ? 0 : i == 1 ? (RightEdge() - op.width) / 2 : RightEdge() - op.width;
        op.a = QPointF(x, top);
        op.color = style.Color;
        ops.append(op);
    }
    if (style.Rule > 0) {
        const double y = header ? -kRuleGap : printableHeight() + kRuleGap;
        line(0, y, RightEdge(), y, style.Rule);
    }
    if (style.Frame > 0) {
        const double y1 = top - 0.5, y2 = top + height + 0.5;
        line(0, y1, RightEdge(), y1, style.Frame);
        line(RightEdge(), y1, RightEdge(), y2, style.Frame);
        line(RightEdge(), y2, 0, y2, style.Frame);
        line(0, y2, 0, y1, style.Frame);
    }
}

void CurtPrinter::ensureRoom(double height)
{
    if (recording_doc_.pages.isEmpty()) {
        beginPage();
        return;
    }
    // What would run past the bottom margin continues on a new page.
    if (CurrentY > 0 && CurrentY + height > printableHeight() + 1e-6)
        beginPage();
}

void CurtPrinter::addText(const QString& text, double x, double size, PrintOp::Place place)
{
    PrintOp op;
    op.place = place;
    op.text = text;
    op.font = Font;
    op.font.Size = size;
    op.width = widthMm(Font, size, text);
    op.a = QPointF(x, CurrentY);
    op.color = toOleColor(setup_.forecolor.isValid() ? setup_.forecolor
                                                     : palette().color(QPalette::WindowText));
    if (!text.isEmpty())
        recording_doc_.pages.last().ops.append(op);
}

void CurtPrinter::PrintLine(const QString& text, double size, int alignment)
{
    if (!recording_)
        return;
    const double s = size > 0 ? size : FontSize;
    const double height = lineHeight(s);
    ensureRoom(height);
    const double width = widthMm(Font, s, text);
    double x = CurrentX;
    if (alignment == 1)
        x = RightEdge() - width;
    else if (alignment == 2)
        x = (RightEdge() - width) / 2;
    addText(text, x, s);
    CurrentX = 0;
    CurrentY += height;
}

void CurtPrinter::PrintText(const QString& text)
{
    if (!recording_)
        return;
    ensureRoom(lineHeight(FontSize));
    addText(text, CurrentX, FontSize);
    CurrentX += TextWidth(text);
}

void CurtPrinter::PrintParagraph(const QString& text, double before, double after, double spacing)
{
    if (!recording_)
        return;
    const double indent = CurrentX;
    const double height = lineHeight(FontSize);
    const double step = height * (spacing > 0 ? spacing : 1);
    CurrentY += before;

    // Lines broken where Unicode allows (between Chinese characters, at
    // blanks, never before a closing mark), within the printable width.
    QTextLayout layout(text, referenceFont(Font, FontSize), &referenceDevice());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QList<QPair<int, int>> lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(qMax(1.0, (RightEdge() - indent) * kRefPxPerMm));
        lines.append({line.textStart(), line.textLength()});
    }
    layout.endLayout();
    if (lines.isEmpty())
        lines.append({0, 0});

    for (const auto& [start, length] : lines) {
        ensureRoom(height);
        addText(text.mid(start, length), indent, FontSize);
        CurrentY += step;
    }
    CurrentY += after;
    CurrentX = 0;
}

void CurtPrinter::NewLine(double extra)
{
    if (!recording_)
        return;
    CurrentX = 0;
    CurrentY += lineHeight(FontSize) + extra;
}

void CurtPrinter::DrawLine(double x1, double y1, double x2, double y2, OleColor color)
{
    PrintOp op;
    op.kind = PrintOp::Line;
    op.a = QPointF(x1, y1);
    op.b = QPointF(x2, y2);
    addFigure(op, color);
}

void CurtPrinter::DrawCircle(double x, double y, double radius, OleColor color, double aspect)
{
    PrintOp op;
    op.kind = PrintOp::Circle;
    op.a = QPointF(x, y);
    op.radius = radius;
    op.aspect = aspect;
    addFigure(op, color);
}

void CurtPrinter::addFigure(PrintOp& op, OleColor color)
{
    // Lines and circles stand where they are told; they start a page but
    // never move the text position.
    if (!recording_)
        return;
    if (recording_doc_.pages.isEmpty())
        beginPage();
    op.color = color;
    op.lineWidth = LineWidth;
    recording_doc_.pages.last().ops.append(op);
}

void CurtPrinter::EndDoc()
{
    if (!recording_)
        return;
    recording_ = false;
    if (recording_doc_.pages.isEmpty())
        recording_doc_.pages.append(PrintPage());
    last_ = recording_doc_;
    if (last_.target == 0) {
        preview_ = last_;
        renderAsked_ = false;
        page_ = qBound(0, page_, preview_.pages.size() - 1);
        updatePreview();
    } else if (!printDocument()) {
        // Cancelled, or failed and already said: nothing was printed.
        return;
    }
    ++ended_;
    emit documentEnded(last_.target);
}

void CurtPrinter::CancelDoc()
{
    if (recording_) {
        recording_ = false;
        recording_doc_ = PrintDocument();
    }
    if (printing_)
        cancelled_ = true;
}

bool CurtPrinter::printDocument()
{
    printing_ = true;
    const PrintDocument doc = last_;
    QWidget* top = window();
    const QString name = top && !top->windowTitle().isEmpty() ? top->windowTitle()
                                                              : QStringLiteral("报告");
    const PdfOffer pdf{QStringLiteral("没有可用的打印机，请选择保存报告的PDF文件"), pdfFileName};
    const auto paint = [&](QPainter& painter, QPrinter& printer) {
        const double pxPerMm = printer.resolution() / 25.4;
        // The painter starts at the printable area the printer allows; the
        // pages are drawn from the paper's corner with their own margins.
        const QPointF printable = printer.pageRect(QPrinter::DevicePixel).topLeft();
        for (int i = 0; i < doc.pages.size(); ++i) {
            if (cancelled_ || (i > 0 && !printer.newPage()))
                return false;
            painter.save();
            painter.translate(-printable);
            paintPrintPage(painter, setup_, doc.pages.at(i), pxPerMm);
            painter.restore();
        }
        return !cancelled_;
    };
    const PrintOutcome outcome = printJob(top, name, pageLayout(), pdf, paint);
    printing_ = false;
    cancelled_ = false;
    return outcome == PrintOutcome::Printed;
}

double CurtPrinter::previewScale() const
{
    const double actual = logicalDpiX() / 25.4;
    if (zoom_ > 0)
        return actual * zoom_ / 100.0;
    const QSize room = scroll_->viewport()->size() - QSize(2 * kPaneMargin + 1, 2 * kPaneMargin + 1);
    const double fit = qMin(room.width() / twipsToMm(setup_.paperwidth),
                            room.height() / twipsToMm(setup_.paperheight));
    return qMax(fit, actual * 0.05);
}

void CurtPrinter::setZoom(int percent)
{
    zoom_ = qMax(0, percent);
    updatePreview();
}

void CurtPrinter::stepZoom(int direction)
{
    static const int steps[] = {10, 25, 40, 50, 55, 75, 100, 125, 150, 200, 300, 400};
    const int current = qRound(previewScale() / (logicalDpiX() / 25.4) * 100);
    int next = current;
    if (direction > 0) {
        for (int s : steps)
            if (s > current) {
                next = s;
                break;
            }
    } else {
        for (int s : steps)
            if (s < current)
                next = s;
    }
    setZoom(next);
}

void CurtPrinter::showPage(int index)
{
    page_ = qBound(0, index, qMax(0, preview_.pages.size() - 1));
    updatePreview();
}

void CurtPrinter::updatePreview()
{
    const double scale = previewScale();
    const QSize size(qCeil(twipsToMm(setup_.paperwidth) * scale + 2 * kPaneMargin),
                     qCeil(twipsToMm(setup_.paperheight) * scale + 2 * kPaneMargin));
    pane_->setFixedSize(size);
    const int pages = qMax(1, int(preview_.pages.size()));
    actionPageUp->setEnabled(page_ > 0);
    actionPageDown->setEnabled(page_ + 1 < pages);
    status_->setText(QStringLiteral("  第 %1 页，共 %2 页    %3%")
                         .arg(page_ + 1)
                         .arg(pages)
                         .arg(qRound(scale / (logicalDpiX() / 25.4) * 100)));
    pane_->update();
}

bool CurtPrinter::eventFilter(QObject* watched, QEvent* e)
{
    // A page that fits the window follows the window's size.
    if (watched == scroll_->viewport() && e->type() == QEvent::Resize && zoom_ == 0)
        updatePreview();
    return QWidget::eventFilter(watched, e);
}

void CurtPrinter::paneNeedsDocument()
{
    // A preview with nothing to show asks its window for the page once.
    if (renderAsked_ || recording_)
        return;
    renderAsked_ = true;
    QTimer::singleShot(0, this, [this] { emit RenderRequest(); });
}

} // namespace zol
