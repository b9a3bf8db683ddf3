// The report windows. frmzol5 and frmzol501 print the profile report of
// frmzol4 and frmzol401; frmzol25 and frmzol2501 the E-N report of frmzol21
// and frmzol211; frmzol9 the stored test that the browser frmzol6 shows.
#pragma once

#include "reports/reportframe.h"
#include "reports/reportpages.h"

#include <functional>

namespace zol {

class ResultForm;

class Frmzol5Form : public ReportForm {
    Q_OBJECT
public:
    Frmzol5Form();

protected:
    void layOutPage(CurtPrinter& p) override;
    QString subjectName() override;
};

class Frmzol501Form : public ReportForm {
    Q_OBJECT
public:
    Frmzol501Form();

protected:
    void layOutPage(CurtPrinter& p) override;
    QString subjectName() override;
};

class Frmzol25Form : public ReportForm {
    Q_OBJECT
public:
    Frmzol25Form();

protected:
    void layOutPage(CurtPrinter& p) override;
    QString subjectName() override;
};

class Frmzol2501Form : public ReportForm {
    Q_OBJECT
public:
    Frmzol2501Form();

protected:
    void layOutPage(CurtPrinter& p) override;
    QString subjectName() override;
};

// The stored-test report. The browser belongs to a library that uses this
// one, so while it is loaded it lends the report a source that reads its
// shown row as displayed; without a source the page prints empty values and
// never loads a browser of its own.
class Frmzol9Form : public ReportForm {
    Q_OBJECT
public:
    Frmzol9Form();

protected:
    void layOutPage(CurtPrinter& p) override;
    QString subjectName() override;
};

using StoredTestSource = std::function<ReportValues()>;
void setStoredTestSource(StoredTestSource source);

inline Frmzol5Form& frmzol5() { return DefaultForm<Frmzol5Form>::get(); }
inline Frmzol501Form& frmzol501() { return DefaultForm<Frmzol501Form>::get(); }
inline Frmzol25Form& frmzol25() { return DefaultForm<Frmzol25Form>::get(); }
inline Frmzol2501Form& frmzol2501() { return DefaultForm<Frmzol2501Form>::get(); }
inline Frmzol9Form& frmzol9() { return DefaultForm<Frmzol9Form>::get(); }

// The report window that prints a result window's test.
ReportForm& reportWindowOf(ResultForm& result);

// Lets the result windows' print buttons open their report: the preview made
// visible, the page rendered, the report shown modally until its preview is
// closed. The start-test command finds a test's report windows too. Called
// once at start-up.
void installResultReports();

} // namespace zol
