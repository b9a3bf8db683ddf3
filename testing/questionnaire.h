// The questionnaire windows Frmzol3 (profile chart) and Frmzol23 (E-N
// chart): the 88 items one at a time, answered with 是 or 否, with moving
// back and forth; 完成 scores the answers with the scoring key, applies the
// norms and hands over to the result window.
#pragma once

#include "platform/form.h"
#include "testing/resultwindow.h"
#include "testing/scoringkey.h"

#include <QStringList>
#include <array>

class QGroupBox;
class QLabel;
class QPushButton;

namespace zol {

// The item texts lie in the program folder, one item a line, UTF-8.
QString itemFilePath();   // programFile("zolitems.txt")

// Reads the item texts: exactly 88 non-empty lines, each trimmed of outer
// blanks; empty lines are skipped. On failure returns false and says why
// in message.
[[nodiscard]] bool readItemFile(const QString& path, QStringList* items, QString* message);

class QuestionnaireForm : public Form {
    Q_OBJECT
public:
    QLabel* Label1 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QLabel* Label2 = nullptr;          // number of the item on screen, then "."
    QLabel* Label3 = nullptr;          // item text
    QLabel* Label4 = nullptr;          // recorded answer of the item on screen
    QPushButton* Command1 = nullptr;   // "是"
    QPushButton* Command2 = nullptr;   // "否"
    QPushButton* Command3 = nullptr;   // "向前"
    QPushButton* Command4 = nullptr;   // "向后"
    QPushButton* Command5 = nullptr;   // "完成"
    QPushButton* Command6 = nullptr;   // "结束"

    // Item n at index n; index 0 is unused.
    std::array<QString, kItemCount + 1> Items;
    std::array<QString, kItemCount + 1> Answers;   // "", "是" or "否"
    qint16 CurItem = 1;

    // False when the item file could not be read at load (the error was shown).
    bool hasItems() const { return hasItems_; }

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();

protected:
    QuestionnaireForm(const QString& name, ChartKind chart);

    void Form_Load() override;
    void Form_QueryUnload(bool& cancel) override;
    void showEvent(QShowEvent* e) override;

private:
    void beginTest();
    void answer(const QString& given);
    void showItem(int n, bool indented);
    ResultForm& resultWindow();

    ChartKind chart_;
    bool hasItems_ = false;
};

class Frmzol3Form : public QuestionnaireForm {
    Q_OBJECT
public:
    Frmzol3Form();
};

class Frmzol23Form : public QuestionnaireForm {
    Q_OBJECT
public:
    Frmzol23Form();
};

inline Frmzol3Form& Frmzol3() { return DefaultForm<Frmzol3Form>::get(); }
inline Frmzol23Form& Frmzol23() { return DefaultForm<Frmzol23Form>::get(); }

} // namespace zol
