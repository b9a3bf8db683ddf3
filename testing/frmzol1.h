// The notice that opens every test: five instructions, which the counsellor
// or the tested person must acknowledge by ticking "我知道了" before OK can
// be pressed.
#pragma once

#include "platform/form.h"

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace zol {

// The five instructions, each opened by its full-width number ("１、" to "５、").
QString noticeText();

class Frmzol1Form : public Form {
    Q_OBJECT
public:
    Frmzol1Form();

    QGroupBox* Frame1 = nullptr;
    QLabel* Label1 = nullptr;
    QRadioButton* Option1 = nullptr;   // "我知道了"
    QPushButton* Command1 = nullptr;   // "确定"
    QPushButton* Command2 = nullptr;   // "退出"

    void Option1_Click();
    void Command1_Click();
    void Command2_Click();

protected:
    void Form_Load() override;
};

inline Frmzol1Form& frmzol1() { return DefaultForm<Frmzol1Form>::get(); }

} // namespace zol
