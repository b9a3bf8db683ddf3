// The mode window: how the test is entered (typed-in raw scores or the
// on-screen questionnaire) and which chart the result shows (profile or
// E-N relation). Its OK shows one of four windows modally.
#pragma once

#include "platform/form.h"

class QGroupBox;
class QPushButton;
class QRadioButton;

namespace zol {

class Frmzol20Form : public Form {
    Q_OBJECT
public:
    Frmzol20Form();

    QGroupBox* Frame1 = nullptr;
    QRadioButton* Option1 = nullptr;   // "手工计分汇总法": typed-in raw scores
    QRadioButton* Option2 = nullptr;   // "电脑计分分析法": the questionnaire
    QGroupBox* Frame2 = nullptr;
    QRadioButton* Option3 = nullptr;   // "ZOL折线图": profile chart
    QRadioButton* Option4 = nullptr;   // "E—N关系图": E-N chart
    QPushButton* Command1 = nullptr;   // "确 定"
    QPushButton* Command2 = nullptr;   // "退 出"

    // OK: hides this window and shows the chosen window modally; returns
    // when that window hides itself or is unloaded.
    void Command1_Click();
    // "退 出": unloads this window, frmzol2 and frmzol1.
    void Command2_Click();

    // Disabled without an entry mode, enabled once a mode and a chart are
    // chosen.
    void updateOkButton();

protected:
    void Form_Load() override;
};

inline Frmzol20Form& frmzol20() { return DefaultForm<Frmzol20Form>::get(); }

} // namespace zol
