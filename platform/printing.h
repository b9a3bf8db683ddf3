// Where a printed page goes: a printer of the system, or a PDF file where the
// machine has no printer. Report pages and statistics prints both come
// through here, so that every print asks the same way and reports a failure
// the same way.
//
// A test installs a stand-in service that answers with a PDF file of its own
// (or cancels) instead of asking a person.
#pragma once

#include <QDate>
#include <QPageLayout>
#include <QString>
#include <QStringList>
#include <functional>

class QPainter;
class QPrinter;
class QWidget;

namespace zol {

// What a print offers when it goes to a PDF file: the file dialog's title
// and the name of the file it proposes.
struct PdfOffer {
    QString title;
    QString fileName;
};

class PrintService {
public:
    virtual ~PrintService() = default;
    // Lets the user choose where printer prints (a printer of the system or a
    // PDF file) and sets the printer up for it. False when the user cancelled.
    virtual bool choose(QPrinter& printer, QWidget* parent, const PdfOffer& pdf) = 0;
};

// The PDF file name a print proposes: its parts (the subject's name, the
// kind of print) and the date, joined by "-", each made fit for a file name;
// empty parts are left out. ("张三", "人格测试报告") -> 张三-人格测试报告-2026-12-08.pdf
QString pdfFileName(const QStringList& parts, const QDate& date);

// Asks for the PDF file of a print (the file dialog titled and proposing as
// pdf says) and sets printer up to write it. False when the user cancelled.
bool choosePdfFile(QPrinter& printer, const PdfOffer& pdf);

// The service in use. Without one installed, the real dialogs are used: Qt's
// print dialog when the system has a printer, otherwise a file dialog for a
// PDF file.
PrintService& printService();
// Installs a service (nullptr: back to the real one).
void setPrintService(PrintService* service);

enum class PrintOutcome { Printed, Cancelled, Failed };

// Prints one job: sets up a printer with the page layout, asks where to print,
// and lets paint draw the pages (it returns false when it could not draw).
// A failure (no printer can be opened, a file that cannot be written, a job
// the printer refuses) is reported to the user in one message box and gives
// Failed; nothing is ever taken for printed that was not. A cancel is quiet.
[[nodiscard]] PrintOutcome printJob(QWidget* parent, const QString& documentName,
                                    const QPageLayout& layout, const PdfOffer& pdf,
                                    const std::function<bool(QPainter&, QPrinter&)>& paint);

} // namespace zol
