// The query window: the stored tests in a grid, narrowed by one criterion
// (name, sex, education, occupation or test date), and a toggle that lets
// the user add, delete and change rows in the grid.
#pragma once

#include "platform/form.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace zol {

class DataGrid;
class RecordsModel;

class Frmzol13Form : public Form {
    Q_OBJECT
public:
    Frmzol13Form();

    QGroupBox* Frame1 = nullptr;   // "分类查询"
    QRadioButton* Option1 = nullptr;   // name
    QRadioButton* Option2 = nullptr;   // sex
    QRadioButton* Option3 = nullptr;   // education
    QRadioButton* Option4 = nullptr;   // occupation
    QRadioButton* Option5 = nullptr;   // date
    QLineEdit* Text1 = nullptr;
    QComboBox* Combo1 = nullptr;
    QComboBox* Combo2 = nullptr;
    QComboBox* Combo3 = nullptr;
    QComboBox* CboYear = nullptr;
    QComboBox* cboMonth = nullptr;
    QComboBox* cboDay = nullptr;
    QPushButton* Command1 = nullptr;   // the five "确定"
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* Command5 = nullptr;
    DataGrid* DBGrid1 = nullptr;
    RecordsModel* Data1 = nullptr;     // the grid's rows
    QPushButton* Command6 = nullptr;   // "修改数据" / "停止修改"
    QPushButton* Command7 = nullptr;   // "退 出"

    void Option_Click(int number);     // Option1_Click .. Option5_Click
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();

protected:
    void Form_Load() override;
    void Form_Unload() override;
    void Form_QueryUnload(bool& cancel) override;

private:
    void textQuery(const QString& input, const QString& field, const QString& emptyMessage);
    void query(const QString& condition, const QVariantList& params);
};

inline Frmzol13Form& frmzol13() { return DefaultForm<Frmzol13Form>::get(); }

} // namespace zol
