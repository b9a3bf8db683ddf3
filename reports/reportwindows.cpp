#include "reports/reportwindows.h"

#include "reports/reportpages.h"
#include "testing/resultwindow.h"
#include "testing/starttest.h"

namespace zol {

namespace {

ReportDesign resultReport(const QString& name, const QString& caption, HeaderFooterSet texts,
                          const QString& fileKind)
{
    ReportDesign d;
    d.name = name;
    d.caption = caption;
    d.page = resultReportPage();
    d.fillZoom = 0;
    d.shownZoom = 100;
    d.texts = texts;
    d.fileKind = fileKind;
    return d;
}

const QString kProfileCaption = QStringLiteral("ZOL人格测验成人版报告打印");
const QString kENCaption = QStringLiteral("ZOL人格测验成人版");
const QString kProfileKind = QStringLiteral("人格测试报告");
const QString kENKind = QStringLiteral("人格E-N关系图报告");

// The stored-test report: 宋体, a right margin as wide as the left one and
// the control's own bottom margin; opened at zoom 55, shown at 40.
ReportDesign storedTestDesign()
{
    ReportDesign d;
    d.name = QStringLiteral("frmzol9");
    d.caption = QStringLiteral("ZOL人格测验成人版报告打印(2)");
    d.page = resultReportPage();
    d.page.rightmargin = d.page.leftmargin;
    d.page.bottommargin = PageSetup().bottommargin;
    d.page.font.Name = QStringLiteral("宋体");
    d.fillZoom = 55;
    d.shownZoom = 40;
    d.texts = HeaderFooterSet::B;
    d.fileKind = kProfileKind;
    return d;
}

StoredTestSource& storedTestSource()
{
    static StoredTestSource source;
    return source;
}

} // namespace

Frmzol5Form::Frmzol5Form()
    : ReportForm(
          resultReport(QStringLiteral("frmzol5"), kProfileCaption, HeaderFooterSet::A, kProfileKind))
{
}

void Frmzol5Form::layOutPage(CurtPrinter& p) { ProfileReport(p, frmzol4()); }

QString Frmzol5Form::subjectName() { return frmzol4().Label18->text(); }

Frmzol501Form::Frmzol501Form()
    : ReportForm(
          resultReport(QStringLiteral("frmzol501"), kProfileCaption, HeaderFooterSet::A, kProfileKind))
{
}

void Frmzol501Form::layOutPage(CurtPrinter& p) { ProfileReport(p, frmzol401()); }

QString Frmzol501Form::subjectName() { return frmzol401().Label18->text(); }

Frmzol25Form::Frmzol25Form()
    : ReportForm(
          resultReport(QStringLiteral("frmzol25"), kENCaption, HeaderFooterSet::C, kENKind))
{
}

void Frmzol25Form::layOutPage(CurtPrinter& p) { ENReport(p, frmzol21()); }

QString Frmzol25Form::subjectName() { return frmzol21().Label18->text(); }

Frmzol2501Form::Frmzol2501Form()
    : ReportForm(
          resultReport(QStringLiteral("frmzol2501"), kENCaption, HeaderFooterSet::C, kENKind))
{
}

void Frmzol2501Form::layOutPage(CurtPrinter& p) { ENReport(p, frmzol211()); }

QString Frmzol2501Form::subjectName() { return frmzol211().Label18->text(); }

Frmzol9Form::Frmzol9Form() : ReportForm(storedTestDesign()) {}

void Frmzol9Form::layOutPage(CurtPrinter& p)
{
    const StoredTestSource& source = storedTestSource();
    StoredTestReport(p, source ? source() : ReportValues{});
}

QString Frmzol9Form::subjectName()
{
    const StoredTestSource& source = storedTestSource();
    return source ? source().subject.name : QString();
}

void setStoredTestSource(StoredTestSource source) { storedTestSource() = std::move(source); }

ReportForm& reportWindowOf(ResultForm& result)
{
    if (dynamic_cast<Frmzol401Form*>(&result))
        return frmzol501();
    if (dynamic_cast<Frmzol21Form*>(&result))
        return frmzol25();
    if (dynamic_cast<Frmzol211Form*>(&result))
        return frmzol2501();
    return frmzol5();
}

void installResultReports()
{
    setResultReportOpener([](ResultForm& result) {
        ReportForm& report = reportWindowOf(result);
        prepareReport(report);
        report.Show(vbModal);
    });
    setTestReportWindows({loadedWindow<Frmzol5Form>, loadedWindow<Frmzol501Form>,
                          loadedWindow<Frmzol25Form>, loadedWindow<Frmzol2501Form>});
}

} // namespace zol
