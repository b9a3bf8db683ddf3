// The report windows of the four result windows. frmzol5 and frmzol501 print
// the profile report of frmzol4 and frmzol401; frmzol25 and frmzol2501 the
// E-N report of frmzol21 and frmzol211.
#pragma once

#include "reports/reportframe.h"

namespace zol {

class ResultForm;

class Frmzol5Form : public ReportForm {
    Q_OBJECT
public:
    Frmzol5Form();

protected:
    void layOutPage(CurtPrinter& p) override;
};

class Frmzol501Form : public ReportForm {
    Q_OBJECT
public:
    Frmzol501Form();

protected:
    void layOutPage(CurtPrinter& p) override;
};

class Frmzol25Form : public ReportForm {
    Q_OBJECT
public:
    Frmzol25Form();

protected:
    void layOutPage(CurtPrinter& p) override;
};

class Frmzol2501Form : public ReportForm {
    Q_OBJECT
public:
    Frmzol2501Form();

protected:
    void layOutPage(CurtPrinter& p) override;
};

inline Frmzol5Form& frmzol5() { return DefaultForm<Frmzol5Form>::get(); }
inline Frmzol501Form& frmzol501() { return DefaultForm<Frmzol501Form>::get(); }
inline Frmzol25Form& frmzol25() { return DefaultForm<Frmzol25Form>::get(); }
inline Frmzol2501Form& frmzol2501() { return DefaultForm<Frmzol2501Form>::get(); }

// The report window that prints a result window's test.
ReportForm& reportWindowOf(ResultForm& result);

// Lets the result windows' print buttons open their report: the preview made
// visible, the page rendered, the report shown modally until its preview is
// closed. Called once at start-up.
void installResultReports();

} // namespace zol
