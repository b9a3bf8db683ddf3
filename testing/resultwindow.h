// The four result windows that end a test.
//
// frmzol4 and frmzol401 show the profile chart, frmzol21 and frmzol211 the
// E-N chart; each pair shares one layout. The scorer that finishes a test
// fills the value labels and shows the window; the window chooses its
// interpretation texts when it loads (the E-N windows also apply the norms
// again and draw their point then) and offers save, print and exit.
#pragma once

#include "platform/form.h"

#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QPushButton>
#include <functional>

namespace zol {

class DataControl;

// Unloads the windows in order.
void unloadWindows(const QList<WindowUnload>& windows);

enum class ChartKind { Profile, EN };

// Chart coordinates of one score, in twips on the result window.
qint16 profileY(qint16 score);             // y of a standard score on the profile
qint16 enX(qint16 nScore);                 // x of the E-N point
qint16 enY(qint16 eScore);                 // y of the E-N point

// Computes gPlotP .. gPlotL from the standard scores and draws the three red
// segments of the profile on the window.
void ProfileChart(Form& window);
// Computes gPlotE (the y) and gPlotN (the x) and draws the red circle.
void ENChart(Form& window);

class ResultForm : public Form {
    Q_OBJECT
public:
    ChartKind chartKind() const { return kind_; }

    // Title, subject captions and values.
    QLabel* Label17 = nullptr;
    QLabel *Label16 = nullptr, *Label19 = nullptr, *Label21 = nullptr, *Label32 = nullptr;
    QLabel *Label18 = nullptr, *Label20 = nullptr, *Label22 = nullptr, *Label33 = nullptr;
    QLabel *Label23 = nullptr, *Label25 = nullptr, *Label27 = nullptr, *Label34 = nullptr;
    QLabel *Label24 = nullptr, *Label26 = nullptr, *Label28 = nullptr, *Label35 = nullptr;
    // Chart title, score rows.
    QLabel* Label29 = nullptr;
    QLabel *Label6 = nullptr, *Label11 = nullptr;
    QLabel *Label7 = nullptr, *Label8 = nullptr, *Label9 = nullptr, *Label10 = nullptr;
    QLabel *Label12 = nullptr, *Label13 = nullptr, *Label14 = nullptr, *Label15 = nullptr;
    // Text block.
    QLabel *Label30 = nullptr, *Label31 = nullptr;
    QLineEdit *Text1 = nullptr, *Text2 = nullptr, *Text3 = nullptr, *Text4 = nullptr;
    // Buttons: save, exit, print.
    QPushButton *Command1 = nullptr, *Command2 = nullptr, *Command3 = nullptr;
    // The hidden data control and the boxes bound to the 21 fields, and the
    // unbound box holding the date taken at load.
    DataControl* Data1 = nullptr;
    QLineEdit *Text5 = nullptr, *Text6 = nullptr, *Text7 = nullptr, *Text8 = nullptr,
              *Text9 = nullptr, *Text10 = nullptr, *Text11 = nullptr, *Text12 = nullptr,
              *Text13 = nullptr, *Text14 = nullptr, *Text15 = nullptr, *Text16 = nullptr,
              *Text17 = nullptr, *Text18 = nullptr, *Text19 = nullptr, *Text20 = nullptr,
              *Text21 = nullptr, *Text22 = nullptr, *Text23 = nullptr, *Text24 = nullptr,
              *Text25 = nullptr, *Text26 = nullptr;

    // "保存数据": appends the test as one row; the button is disabled only
    // once the row is really stored.
    void Command1_Click();
    // "退   出": asks, then unloads the test's windows.
    void Command2_Click();
    // "打印报告": hands over to the window's report window.
    void Command3_Click();

protected:
    // exitList: the windows the exit unloads, in order (this window first).
    ResultForm(const QString& name, ChartKind kind, const QList<WindowUnload>& exitList);

    void Form_Load() override;
    void Form_QueryUnload(bool& cancel) override;

    // What happens once the exit has unloaded the test windows.
    virtual void afterExit() {}

private:
    void buildLayout();
    void buildProfileChart();
    void buildENChart();
    void exitTest();

    ChartKind kind_;
    QList<WindowUnload> exitList_;
};

class Frmzol4Form : public ResultForm {
    Q_OBJECT
public:
    Frmzol4Form();
};

class Frmzol401Form : public ResultForm {
    Q_OBJECT
public:
    Frmzol401Form();
};

class Frmzol21Form : public ResultForm {
    Q_OBJECT
public:
    Frmzol21Form();
};

class Frmzol211Form : public ResultForm {
    Q_OBJECT
public:
    Frmzol211Form();

protected:
    void afterExit() override;
};

inline Frmzol4Form& frmzol4() { return DefaultForm<Frmzol4Form>::get(); }
inline Frmzol401Form& frmzol401() { return DefaultForm<Frmzol401Form>::get(); }
inline Frmzol21Form& frmzol21() { return DefaultForm<Frmzol21Form>::get(); }
inline Frmzol211Form& frmzol211() { return DefaultForm<Frmzol211Form>::get(); }

// Writes the module's raw and standard scores into the window's score
// labels (Label7 to Label10 and Label12 to Label15, P, E, N, L).
void writeScoreLabels(ResultForm& window);

// The print hand-over of a result window to its report window. The report
// windows are not part of this library: the program installs their opener
// at start-up, and without one the hand-over does nothing.
void showResultReport(ResultForm& window);
void setResultReportOpener(std::function<void(ResultForm&)> opener);

} // namespace zol
