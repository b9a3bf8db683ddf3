#include "platform/printing.h"

#include "platform/dialogs.h"

#include <QFileInfo>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace zol {

namespace {

class RealPrintService : public PrintService {
public:
    bool choose(QPrinter& printer, QWidget* parent, const PdfOffer& pdf) override
    {
        if (QPrinterInfo::availablePrinters().isEmpty())
            return choosePdfFile(printer, pdf);
        // Qt's dialog offers the system's printers and a PDF file as well.
        QPrintDialog dialog(&printer, parent);
        dialog.setOptions(QAbstractPrintDialog::PrintToFile);
        const bool chosen = dialog.exec() == QDialog::Accepted;
        if (chosen && !printer.outputFileName().isEmpty())
            rememberFileDialogFolder(printer.outputFileName());
        return chosen;
    }
};

PrintService*& installed()
{
    static PrintService* service = nullptr;
    return service;
}

QString failureText(const QPrinter& printer)
{
    if (printer.outputFormat() == QPrinter::PdfFormat || !printer.outputFileName().isEmpty())
        return QStringLiteral("无法写入文件“%1”，没有打印。请检查文件夹是否存在、是否可写，磁盘是否已满。")
            .arg(printer.outputFileName());
    return QStringLiteral("打印机“%1”无法打印（没有连接或拒绝了打印任务），没有打印。")
        .arg(printer.printerName());
}

} // namespace

QString pdfFileName(const QStringList& parts, const QDate& date)
{
    QStringList name;
    for (const QString& part : parts)
        if (const QString safe = safeFileName(part); !safe.isEmpty())
            name << safe;
    name << date.toString(QStringLiteral("yyyy-MM-dd"));
    return name.join(QLatin1Char('-')) + QStringLiteral(".pdf");
}

bool choosePdfFile(QPrinter& printer, const PdfOffer& pdf)
{
    QString path = SaveFileDialog(pdf.title, QStringLiteral("PDF文件 (*.pdf)"), pdf.fileName);
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    return true;
}

PrintService& printService()
{
    static RealPrintService real;
    return installed() ? *installed() : real;
}

void setPrintService(PrintService* service) { installed() = service; }

PrintOutcome printJob(QWidget* parent, const QString& documentName, const QPageLayout& layout,
                      const PdfOffer& pdf, const std::function<bool(QPainter&, QPrinter&)>& paint)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(documentName);
    printer.setPageLayout(layout);
    if (!printService().choose(printer, parent, pdf))
        return PrintOutcome::Cancelled;
    // The dialog may have changed paper or margins; the page is laid out for
    // the layout it was designed on.
    printer.setPageLayout(layout);

    QPainter painter;
    if (!painter.begin(&printer)) {
        ErrorBox(failureText(printer));
        return PrintOutcome::Failed;
    }
    const bool drawn = paint(painter, printer);
    const bool ended = painter.end();
    bool ok = drawn && ended && printer.printerState() != QPrinter::Error
        && printer.printerState() != QPrinter::Aborted;
    if (ok && printer.outputFormat() == QPrinter::PdfFormat) {
        const QFileInfo out(printer.outputFileName());
        ok = out.exists() && out.size() > 0;
    }
    if (!ok) {
        ErrorBox(failureText(printer));
        return PrintOutcome::Failed;
    }
    return PrintOutcome::Printed;
}

} // namespace zol
