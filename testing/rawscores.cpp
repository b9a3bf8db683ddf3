#include "testing/rawscores.h"

#include "platform/convert.h"
#include "platform/dialogs.h"
#include "platform/fonts.h"
#include "platform/twips.h"
#include "testing/frmzol1.h"
#include "testing/frmzol2.h"
#include "testing/frmzol20.h"
#include "testing/interpretation.h"
#include "testing/resultwindow.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace zol {

namespace {

// The four boxes in scale order P, E, N, L.
constexpr Scale kScales[4] = {Scale::P, Scale::E, Scale::N, Scale::L};
constexpr int kOkLimits[4] = {23, 21, 24, 22};

bool isAsciiDigits(const QString& text)
{
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

} // namespace

QString keyLimitMessage(int limit)
{
    return QStringLiteral("你输入的方法有误，请重新输入各量表原始份（1-%1）！").arg(limit);
}

QString rawScoreErrorMessage()
{
    return QStringLiteral("你输入的原始分有误，请重新检查一遍各量表创始值！");
}

RawKey classifyRawScoreKey(const QKeyEvent& key)
{
    const Qt::KeyboardModifiers commandKeys =
        Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    const int k = key.key();
    if (k >= Qt::Key_0 && k <= Qt::Key_9 && !(key.modifiers() & commandKeys)
        && key.text() == QString(QChar(k)))
        return RawKey::Digit;
    switch (k) {
    // A modifier alone, and the keys that move the focus or the cursor.
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_ScrollLock:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Escape:
        return RawKey::Passes;
    default:
        break;
    }
    // The function keys (F1 asks for help).
    if (k >= Qt::Key_F1 && k <= Qt::Key_F35)
        return RawKey::Passes;
    // Copying and selecting leave the text as it is.
    if (key.matches(QKeySequence::Copy) || key.matches(QKeySequence::SelectAll))
        return RawKey::Passes;
    return RawKey::Refused;
}

RawScoreForm::RawScoreForm(const QString& name, int okButtonLeft, int lKeyLimit)
    : Form(name), lKeyLimit_(lKeyLimit)
{
    const QString caption = QStringLiteral("ZOL成人版模版计分法");
    setWindowTitle(caption);
    setFixedDialogBorder();
    setClientSize(3735, 4680);

    // The title is a little larger than its design size, so that the
    // 14.25 pt characters are not cut off.
    Label1[4] = makeLabel(this, caption, 600, 600, 3015, 375);
    Label1[4]->setFont(vbFont(QStringLiteral("宋体"), 14.25));
    Label1[6] = makeLabel(this, QStringLiteral("P量表粗分"), 840, 1440, 975, 255);
    Text1 = makeTextBox(this, 1920, 1425, 975, 270);
    Label1[5] = makeLabel(this, QStringLiteral("E量表粗分"), 840, 2040, 975, 255);
    Text2 = makeTextBox(this, 1920, 2025, 975, 270);
    Label1[8] = makeLabel(this, QStringLiteral("N量表粗分"), 840, 2520, 975, 255);
    Text3 = makeTextBox(this, 1920, 2505, 975, 270);
    Label1[7] = makeLabel(this, QStringLiteral("L量表粗分"), 840, 3120, 975, 255);
    Text4 = makeTextBox(this, 1920, 3105, 975, 270);
    for (int i = 5; i <= 8; ++i)
        Label1[i]->setFont(vbFont(QStringLiteral("宋体"), 10.5));
    Command1 = makeButton(this, QStringLiteral("确 定"), okButtonLeft, 3840, 855, 375);
    Command2 = makeButton(this, QStringLiteral("退 出"), 2160, 3840, 855, 375);

    const QList<QWidget*> order = {Text1, Text2, Text3, Text4, Command1, Command2};
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    for (QLineEdit* b : {Text1, Text2, Text3, Text4}) {
        // Every key passes the filter first; an input method would bypass it.
        b->setAttribute(Qt::WA_InputMethodEnabled, false);
        b->installEventFilter(this);
    }
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    centerOnScreen();
}

QLineEdit* RawScoreForm::box(int index) const
{
    QLineEdit* const boxes[4] = {Text1, Text2, Text3, Text4};
    return boxes[index];
}

int RawScoreForm::okLimit(const QLineEdit* b) const
{
    for (int i = 0; i < 4; ++i)
        if (box(i) == b)
            return kOkLimits[i];
    return 0;
}

int RawScoreForm::keyLimit(const QLineEdit* b) const
{
    return b == Text4 ? lKeyLimit_ : okLimit(b);
}

bool RawScoreForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return Form::eventFilter(watched, event);
    auto* b = qobject_cast<QLineEdit*>(watched);
    if (!b || okLimit(b) == 0)
        return Form::eventFilter(watched, event);
    const RawKey kind = classifyRawScoreKey(*static_cast<QKeyEvent*>(event));
    if (kind == RawKey::Passes)
        return false;
    // The value is the one before the key: two digits above the limit can
    // stand in the box; the next key or OK refuses them.
    if (kind == RawKey::Digit && Val(b->text()) <= keyLimit(b))
        return false;
    MsgBox(keyLimitMessage(keyLimit(b)), vbOKOnly, QStringLiteral("出错信息"));
    b->clear();
    return true;
}

std::optional<RawScoreForm::RawScores> RawScoreForm::checkedScores() const
{
    Frmzol2Form& subject = frmzol2();
    const auto group = normGroupOf(subject.sexText(), subject.Text3->text());
    RawScores raw{};
    for (int i = 0; i < 4; ++i) {
        // Typed digits or pasted text: only a number of plain digits, or
        // nothing, is a raw score.
        const QString text = box(i)->text().trimmed();
        if (!isAsciiDigits(text) || text.size() > 5)
            return std::nullopt;
        const int value = text.isEmpty() ? 0 : text.toInt();
        if (value > kOkLimits[i])
            return std::nullopt;
        // A score the subject's norm table has no row for would leave its
        // standard score without a value.
        if (value != 0 && group && !normScore(*group, kScales[i], value))
            return std::nullopt;
        raw[i] = qint16(value);
    }
    return raw;
}

void RawScoreForm::Command1_Click()
{
    const auto raw = checkedScores();
    if (!raw) {
        MsgBox(rawScoreErrorMessage(), vbOKOnly, QStringLiteral("出错信息"));
        return;
    }
    okSteps(*raw);
}

void RawScoreForm::Command2_Click()
{
    Unload();
    unloadWindows({unloadOf<Frmzol20Form>, unloadOf<Frmzol2Form>, unloadOf<Frmzol1Form>});
}

// The close box asks whether to quit the test; on OK the whole test goes.
void RawScoreForm::Form_QueryUnload(bool& cancel)
{
    cancel = true;
    if (MsgBox(QStringLiteral("测试还没有结束，你真的要提前结束个性测试吗！"),
               vbOKCancel | vbInformation, QStringLiteral("提示"))
        == vbOK)
        Command2_Click();
}

void RawScoreForm::emptyBoxes()
{
    for (QLineEdit* b : {Text1, Text2, Text3, Text4})
        b->clear();
}

void RawScoreForm::setRawScores(const RawScores& raw)
{
    gPRaw = raw[0];
    gERaw = raw[1];
    gNRaw = raw[2];
    gLRaw = raw[3];
}

void RawScoreForm::setSubject()
{
    gAge = frmzol2().Text3->text();
    gSex = frmzol2().sexText();
}

Frmzol19Form::Frmzol19Form() : RawScoreForm(QStringLiteral("frmzol19"), 1080, 22) {}

void Frmzol19Form::Form_Load() { emptyBoxes(); }

void Frmzol19Form::okSteps(const RawScores& raw)
{
    Hide();
    setSubject();
    // The first write loads the result window; its load step still sees the
    // scores of before, and the texts are written again below.
    Frmzol401Form& result = frmzol401();
    writeSubjectLabels(result);
    setRawScores(raw);
    clearStandardScores();
    ApplyNorms();
    result.Show();
    ProfileChart(result);
    writeScoreLabels(result);
    InterpretationText(result.Text1, result.Text2, result.Text3, result.Text4);
}

Frmzol22Form::Frmzol22Form() : RawScoreForm(QStringLiteral("frmzol22"), 960, 20) {}

void Frmzol22Form::Form_Load()
{
    emptyBoxes();
    clearScores();
}

void Frmzol22Form::okSteps(const RawScores& raw)
{
    Hide();
    setRawScores(raw);
    setSubject();
    // The first write loads the result window, which applies the norms and
    // draws its point for this test's scores.
    Frmzol211Form& result = frmzol211();
    writeSubjectLabels(result);
    clearStandardScores();
    ApplyNorms();
    writeScoreLabels(result);
    InterpretationText(result.Text1, result.Text2, result.Text3, result.Text4);
    result.Show();
}

} // namespace zol
