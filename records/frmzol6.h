// The stored-test browser: one stored test at a time, its subject data,
// scores, evaluation texts and profile; moves through the table, deletes the
// shown test, and prints it through the stored-test report frmzol9.
#pragma once

#include "platform/form.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace zol {

class DataControl;

// The browser's own evaluation texts, each beginning with its scale's letter
// and a full-width colon: chosen by the standard score T with the bands of
// the result windows (T < 38.5, T < 50, T < 61.5, above). Scales 0-3 are
// P, E, N, L. A row whose stored evaluation is empty shows these.
QString BrowserText(int scale, double score);

// y (twips) of a standard score on the browser's chart: 6000 - 36 T, T 0 on
// the base line at 6000 and T 120 at 1680. Worked out in double precision
// and kept within reach of the window, so that no stored value overflows.
int browserChartY(double score);

class Frmzol6Form : public Form {
    Q_OBJECT
public:
    Frmzol6Form();

    DataControl* Data1 = nullptr;

    // Bound to the shown row.
    QLabel *Label18 = nullptr, *Label20 = nullptr, *Label22 = nullptr, *Label33 = nullptr;
    QLabel *Label24 = nullptr, *Label26 = nullptr, *Label28 = nullptr, *Label35 = nullptr;
    QLabel *Label7 = nullptr, *Label8 = nullptr, *Label9 = nullptr, *Label10 = nullptr;
    QLabel *Label12 = nullptr, *Label13 = nullptr, *Label14 = nullptr, *Label15 = nullptr;
    QLineEdit *Text1 = nullptr, *Text2 = nullptr, *Text3 = nullptr, *Text4 = nullptr;

    // Fixed captions: title, chart heading, the column letters above and
    // below the chart, the number scales on its two sides.
    QLabel* Label17 = nullptr;
    QLabel* Label29 = nullptr;
    QLabel *Label1[2] = {}, *Label2[2] = {}, *Label3[2] = {}, *Label4[2] = {};
    QLabel* Label5[2] = {};

    // 首 条, <<<, >>>, 末 条, 删 除, 画  图, 打 印, 退 出.
    QPushButton *Command6 = nullptr, *Command7 = nullptr, *Command8 = nullptr,
                *Command9 = nullptr, *Command1 = nullptr, *Command4 = nullptr,
                *Command3 = nullptr, *Command2 = nullptr;

    void Command6_Click();
    void Command7_Click();
    void Command8_Click();
    void Command9_Click();
    void Command1_Click();
    void Command4_Click();
    void Command3_Click();
    void Command2_Click();

protected:
    void Form_Load() override;
    void Form_Unload() override;
    // The close box: as 退出 after its question.
    void Form_QueryUnload(bool& cancel) override;

private:
    void buildLayout();
    void buildChart();
    bool tableHasRows();
    void setNavigation(bool toStart, bool toEnd);
    void drawProfile();
    void showBrowserTexts();
};

inline Frmzol6Form& frmzol6() { return DefaultForm<Frmzol6Form>::get(); }

} // namespace zol
