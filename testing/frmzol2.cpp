#include "testing/frmzol2.h"

#include "platform/convert.h"
#include "platform/database.h"
#include "platform/dialogs.h"
#include "platform/twips.h"
#include "testing/frmzol20.h"
#include "testing/resultwindow.h"
#include "testing/subjectlists.h"
#include "testing/zolmodule1.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace zol {

Frmzol2Form::Frmzol2Form() : Form(QStringLiteral("frmzol2"))
{
    setWindowTitle(QStringLiteral("ZOL个人信息"));
    setFixedDialogBorder();
    setClientSize(5595, 3015);

    Frame1 = makeFrame(this, QStringLiteral("请正确填写个人资料"), 120, 120, 5175, 2295);
    setForeColor(Frame1, QColor(0, 0, 255));
    QWidget* f = Frame1;
    Label2 = makeLabel(f, QStringLiteral("姓　名："), 480, 360, 720, 180);
    Text1 = makeTextBox(f, 1320, 360, 1095, 270);
    Label6 = makeLabel(f, QStringLiteral("性　别："), 2760, 360, 720, 180);
    Frame2 = makeFrame(f, QString(), 3600, 240, 1335, 495);
    Option1 = makeOption(Frame2, QStringLiteral("男"), 120, 240, 615, 180);
    setForeColor(Option1, QColor(255, 0, 0));
    Option2 = makeOption(Frame2, QStringLiteral("女"), 720, 240, 495, 180);
    setForeColor(Option2, QColor(0, 192, 0));
    Label3 = makeLabel(f, QStringLiteral("年　龄："), 480, 840, 720, 180);
    Text3 = makeTextBox(f, 1320, 840, 1095, 270);
    Label4 = makeLabel(f, QStringLiteral("文　化："), 2760, 840, 720, 180);
    Combo3 = makeList(f, educationItems(), 3600, 840, 1095, 300);
    Label7 = makeLabel(f, QStringLiteral("民　族："), 480, 1320, 720, 180);
    Combo2 = makeList(f, ethnicityItems(), 1320, 1200, 1095, 300);
    Label8 = makeLabel(f, QStringLiteral("职　业："), 2760, 1320, 720, 180);
    Combo4 = makeList(f, occupationItems(), 3600, 1320, 1095, 300);
    Label9 = makeLabel(f, QStringLiteral("编  号："), 480, 1800, 735, 375);
    Text7 = makeTextBox(f, 1320, 1800, 1095, 270);
    Label5 = makeLabel(f, QStringLiteral("来  源："), 2760, 1800, 735, 375);
    Combo1 = makeList(f, sourceItems(), 3600, 1800, 1095, 300);
    for (QLabel* l : {Label9, Label5})
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Command1 = makeButton(this, QStringLiteral("确定"), 1440, 2520, 855, 375);
    Command3 = makeButton(this, QStringLiteral("清除"), 2640, 2520, 855, 375);
    Command2 = makeButton(this, QStringLiteral("退出"), 3840, 2520, 735, 375);

    // Tab order of the design: the three boxes and the source first, then
    // OK and exit, the other lists, the sex options and "清除" last.
    const QList<QWidget*> order = {Text1,   Text3,   Text7,   Combo1,  Command1, Command2,
                                   Combo2,  Combo3,  Combo4,  Option1, Option2,  Command3};
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });

    // Enter moves the focus along the form; choosing a sex moves it to the age.
    connect(Text1, &QLineEdit::returnPressed, this, [this] { Option1->setFocus(); });
    connect(Text3, &QLineEdit::returnPressed, this, [this] { Combo3->setFocus(); });
    connect(Text7, &QLineEdit::returnPressed, this, [this] { Combo1->setFocus(); });
    for (QRadioButton* o : {Option1, Option2})
        connect(o, &QRadioButton::clicked, this, [this] { Text3->setFocus(); });

    // OK follows the choices as they are made.
    for (QComboBox* c : {Combo1, Combo2, Combo3, Combo4})
        connect(c, &QComboBox::currentIndexChanged, this, [this] { updateOkButton(); });
    for (QRadioButton* o : {Option1, Option2})
        connect(o, &QRadioButton::toggled, this, [this] { updateOkButton(); });

    centerOnScreen();
}

void Frmzol2Form::Form_Load()
{
    Command1->setEnabled(false);
    Text1->clear();
    Text3->clear();
    proposeRecordNumber();
    updateOkButton();
}

QString Frmzol2Form::sexText() const
{
    return Option1->isChecked() ? QStringLiteral("男") : QStringLiteral("女");
}

void Frmzol2Form::proposeRecordNumber()
{
    Text7->clear();
    const auto db = Database::OpenDatabase(databasePath());
    if (!db)
        return;  // reported
    const Recordset rs = db->OpenRecordset(recordCountStatement());
    if (!rs.isValid())
        return;  // reported
    bool ok = false;
    const qint32 count = rs.Fields(recordCountField()).toInt(&ok);
    if (!ok)
        return;
    Text7->setText(numberText(qint64(count) + 1));
}

void Frmzol2Form::updateOkButton()
{
    bool complete = Option1->isChecked() || Option2->isChecked();
    for (const QComboBox* c : {Combo1, Combo2, Combo3, Combo4})
        complete = complete && !c->currentText().isEmpty();
    Command1->setEnabled(complete);
}

void Frmzol2Form::fail(const QString& message, const QString& title, QLineEdit* emptied)
{
    MsgBox(message, vbOKOnly | vbInformation, title);
    if (emptied)
        emptied->clear();
}

void Frmzol2Form::Command1_Click()
{
    const QString info = QStringLiteral("信息");
    const QString age = Text3->text();
    const QString number = Text7->text();
    if (!IsNumeric(age)) {
        fail(QStringLiteral("您的年龄输入有错误，请重新输入！"), QStringLiteral("提示"), Text3);
        return;
    }
    if (Val(age) < 16) {
        fail(QStringLiteral("对不起，这是成人版，不适用于16岁以下青少年，请核对你的年龄无误后点击确定！"),
             info, Text3);
        return;
    }
    if (Val(age) >= 100) {
        fail(QStringLiteral("你输入的年龄不符合实际，请重新输入！"), info, Text3);
        return;
    }
    if (!IsNumeric(number)) {
        fail(QStringLiteral("输入的编号必须为数字，请重新输入！"), info, Text7);
        return;
    }
    if (Val(number) > 10000 || Val(number) < 0) {
        fail(QStringLiteral("输入的编号不能大于是10000或小于0，请重新输入！"), info, Text7);
        return;
    }
    bool complete = !Text1->text().isEmpty() && (Option1->isChecked() || Option2->isChecked());
    for (const QComboBox* c : {Combo1, Combo2, Combo3, Combo4})
        complete = complete && !c->currentText().isEmpty();
    if (!complete) {
        fail(QStringLiteral("个人资料输入不全，请重新输入和选择后再单击确定！"), info, nullptr);
        return;
    }
    frmzol20().Show();
    Hide();
}

void Frmzol2Form::Command2_Click() { Unload(); }

void Frmzol2Form::Command3_Click()
{
    Text1->clear();
    Text3->clear();
    proposeRecordNumber();
}

void writeSubjectLabels(ResultForm& window)
{
    Frmzol2Form& s = frmzol2();
    window.Label18->setText(s.Text1->text());
    window.Label20->setText(gSex);
    window.Label22->setText(s.Text3->text());
    window.Label24->setText(s.Combo3->currentText());
    window.Label26->setText(s.Combo2->currentText());
    window.Label28->setText(s.Combo4->currentText());
    window.Label33->setText(s.Text7->text());
    window.Label35->setText(s.Combo1->currentText());
}

} // namespace zol
