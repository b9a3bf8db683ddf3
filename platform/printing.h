// Where a printed page goes: a printer of the system, or a PDF file where the
// machine has no printer. Report pages and statistics prints both come
// through here, so that every print asks the same way and reports a failure
// the same way.
//
// A test installs a stand-in service that answers with a PDF file of its own
// (or cancels) instead of asking a person.
#pragma once

#include <QPageLayout>
#include <QString>
#include <functional>

class QPainter;
class QPrinter;
class QWidget;

namespace zol {

class PrintService {
public:
    virtual ~PrintService() = default;
    // Lets the user choose where printer prints (a printer of the system or a
    // PDF file) and sets the printer up for it. False when the user cancelled.
    virtual bool choose(QPrinter& printer, QWidget* parent) = 0;
};

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
PrintOutcome printJob(QWidget* parent, const QString& documentName, const QPageLayout& layout,
                      const std::function<bool(QPainter&, QPrinter&)>& paint);

} // namespace zol
