// The pages of the test reports, laid out on the preview control in
// millimetres. Each render reads the window that shows the test (a result
// window, or the stored-test browser) as it stands at that moment; the
// result reports also read the module's standard scores.
#pragma once

#include <QPointF>
#include <QString>
#include <QtGlobal>

namespace zol {

class CurtPrinter;
class ResultForm;

constexpr quint32 kPageRed = 255;
constexpr quint32 kPageBlue = 16711680;

// The profile: y (mm) of a standard score T, computed in double precision
// and passed on as a single; T 0 lies on the base line at 110, T 120 on the
// top line.
float ProfileChartY(double score);
// The profile's columns P, E, N, L (mm).
constexpr float kProfileColumnX[4] = {25, 54, 80, 110};

// The E-N point (mm): X = 69 - (50 - T_N), Y = 70 - (T_E - 50), worked out in
// 16-bit integers; one T point is one millimetre, (50, 50) lies at (69, 70).
QPointF ENChartXY(qint16 nScore, qint16 eScore);

// The subject block: three rows, the left entries after twelve blanks, each
// right entry ending eighteen blanks' width short of the right edge.
struct SubjectLines {
    QString name, sex, age, education, ethnicity, occupation;
};
void printSubjectBlock(CurtPrinter& p, const SubjectLines& s);

// A score line: head, then "P=" and the values in the order P, N, E, L, each
// letter after its own run of blanks (the separators before N, E and L).
QString scoreLine(const QString& head, const QString separators[3], const QString values[4]);

// The interpretation paragraphs P, E, N, L and the closing remark, each
// indented by two blanks and 8 mm.
void printEvaluation(CurtPrinter& p, const QString texts[4], const QString& remark);

// What a page prints of one test, as the window that shows it displays it;
// scores and texts in the order P, E, N, L.
struct ReportValues {
    SubjectLines subject;
    QString raw[4];
    QString standard[4];
    QString texts[4];
};

// The pages of the profile report and of the E-N report, from the result
// window that shows the test.
void ProfileReport(CurtPrinter& p, ResultForm& r);
void ENReport(CurtPrinter& p, ResultForm& r);

// The page of a stored test: the profile report's layout with its own
// spacing, line widths and closing lines; the chart is drawn through the
// numeric values of the standard-score texts, in double precision.
void StoredTestReport(CurtPrinter& p, const ReportValues& v);

} // namespace zol
