// The subject window: name, sex, age, education, ethnicity, occupation,
// record number and source of the tested person. The values live only in
// its controls; it stays loaded (hidden) for the whole test, and the later
// windows read them from here.
#pragma once

#include "platform/form.h"

#include <QStringList>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace zol {

class ResultForm;

class Frmzol2Form : public Form {
    Q_OBJECT
public:
    Frmzol2Form();

    QGroupBox* Frame1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Text1 = nullptr;        // name
    QLabel* Label6 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QRadioButton* Option1 = nullptr;   // 男
    QRadioButton* Option2 = nullptr;   // 女
    QLabel* Label3 = nullptr;
    QLineEdit* Text3 = nullptr;        // age, as typed
    QLabel* Label4 = nullptr;
    QComboBox* Combo3 = nullptr;       // education
    QLabel* Label7 = nullptr;
    QComboBox* Combo2 = nullptr;       // ethnicity
    QLabel* Label8 = nullptr;
    QComboBox* Combo4 = nullptr;       // occupation
    QLabel* Label9 = nullptr;
    QLineEdit* Text7 = nullptr;        // record number
    QLabel* Label5 = nullptr;
    QComboBox* Combo1 = nullptr;       // source
    QPushButton* Command1 = nullptr;   // "确定"
    QPushButton* Command3 = nullptr;   // "清除"
    QPushButton* Command2 = nullptr;   // "退出"

    // "男" when Option1 is chosen, otherwise "女".
    QString sexText() const;

    // OK: checks the entries, then hands over to the mode window.
    void Command1_Click();
    // "退出": unloads this window only.
    void Command2_Click();
    // "清除": empties name and age and proposes the record number again.
    void Command3_Click();

    // Enables OK when every list has a choice and a sex is chosen.
    void updateOkButton();
    // Puts the row count of the stored tests plus 1 into Text7; leaves it
    // empty when the database cannot be read (the error was shown).
    void proposeRecordNumber();

protected:
    void Form_Load() override;

private:
    // Shows a message of the OK check and empties the named box, if any.
    void fail(const QString& message, const QString& title, QLineEdit* emptied);
};

inline Frmzol2Form& frmzol2() { return DefaultForm<Frmzol2Form>::get(); }

// Copies the subject's data from frmzol2 into a result window's subject
// labels; the sex comes from gSex.
void writeSubjectLabels(ResultForm& window);

} // namespace zol
