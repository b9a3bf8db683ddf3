// The typed-in raw-score windows frmzol19 (profile chart) and frmzol22 (E-N
// chart): the counsellor types the four raw scale scores of a hand-scored
// answer sheet, and OK turns them into a result window.
#pragma once

#include "platform/form.h"
#include "testing/zolmodule1.h"

#include <QMap>
#include <array>
#include <optional>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zol {

// The key filter's message for a box whose key limit is limit.
QString keyLimitMessage(int limit);
// The OK check's message.
QString rawScoreErrorMessage();

// What the key filter does with a key pressed in a raw-score box.
enum class RawKey {
    Digit,     // 0 to 9: typed, unless the text before it is above the limit
    Passes,    // moves the focus or the cursor, copies, or is a modifier alone
    Refused,   // anything else, Backspace, Enter and Delete included
};
RawKey classifyRawScoreKey(const QKeyEvent& key);

class RawScoreForm : public Form {
    Q_OBJECT
public:
    // The label array, indices 4 to 8.
    QMap<int, QLabel*> Label1;
    QLineEdit* Text1 = nullptr;        // raw P
    QLineEdit* Text2 = nullptr;        // raw E
    QLineEdit* Text3 = nullptr;        // raw N
    QLineEdit* Text4 = nullptr;        // raw L
    QPushButton* Command1 = nullptr;   // "确 定"
    QPushButton* Command2 = nullptr;   // "退 出"

    // The largest value the key filter lets a box's text reach before one
    // more digit, and the largest raw score OK accepts.
    int keyLimit(const QLineEdit* box) const;
    int okLimit(const QLineEdit* box) const;

    // OK: checks the four boxes, then fills and shows the result window.
    void Command1_Click();
    // "退 出": unloads this window, frmzol20, frmzol2 and frmzol1.
    void Command2_Click();

protected:
    RawScoreForm(const QString& name, int okButtonLeft, int lKeyLimit);

    bool eventFilter(QObject* watched, QEvent* event) override;
    void Form_QueryUnload(bool& cancel) override;

    // The four raw scores, P, E, N, L, once the check has passed.
    using RawScores = std::array<qint16, 4>;
    // What OK does after the check.
    virtual void okSteps(const RawScores& raw) = 0;

    void emptyBoxes();
    static void setRawScores(const RawScores& raw);
    static void setSubject();

private:
    [[nodiscard]] std::optional<RawScores> checkedScores() const;
    QLineEdit* box(int index) const;

    int lKeyLimit_;
};

class Frmzol19Form : public RawScoreForm {
    Q_OBJECT
public:
    Frmzol19Form();

protected:
    void Form_Load() override;
    void okSteps(const RawScores& raw) override;
};

class Frmzol22Form : public RawScoreForm {
    Q_OBJECT
public:
    Frmzol22Form();

protected:
    void Form_Load() override;
    void okSteps(const RawScores& raw) override;
};

inline Frmzol19Form& frmzol19() { return DefaultForm<Frmzol19Form>::get(); }
inline Frmzol22Form& frmzol22() { return DefaultForm<Frmzol22Form>::get(); }

} // namespace zol
