#include "testing/frmzol1.h"

#include "platform/twips.h"
#include "testing/frmzol2.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace zol {

QString noticeText()
{
    return QStringLiteral(
        "１、请仔细阅读每道题目，然后依次作答，每题单击一次“是”或“否”。\n"
        "２、请如实填写周岁年龄，否则结论失去准确性，评定失去意义。\n"
        "３、每题必答，不必多想，按自己的真实情况作答，答案无对错好坏之分。\n"
        "４、不限时间但勿拖延，读懂题意再作答。\n"
        "５、本版用于成人，不适用于16岁以下的儿童和青少年。");
}

Frmzol1Form::Frmzol1Form() : Form(QStringLiteral("frmzol1"))
{
    setWindowTitle(QStringLiteral("Vormel人格问卷成人版"));
    setFixedDialogBorder();
    setClientSize(5175, 3570);

    Frame1 = makeFrame(this, QStringLiteral("提示语："), 240, 240, 4695, 2655);
    // The five points, each on lines of its own, set a little closer than
    // the face's own line spacing so that they fit the notice's area.
    QString html;
    for (const QString& point : noticeText().split(QLatin1Char('\n')))
        html += QStringLiteral("<p style=\"margin:0; line-height:80%;\">%1</p>")
                    .arg(point.toHtmlEscaped());
    Label1 = makeLabel(Frame1, html, 240, 360, 3975, 2055);
    Label1->setTextFormat(Qt::RichText);
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Option1 = makeOption(Frame1, QStringLiteral("我知道了"), 3240, 2160, 1095, 372);
    setForeColor(Option1, QColor(255, 0, 0));
    Command1 = makeButton(this, QStringLiteral("确定"), 1680, 3000, 972, 372);
    Command2 = makeButton(this, QStringLiteral("退出"), 2640, 3000, 972, 372);

    setTabOrder(Option1, Command1);
    setTabOrder(Command1, Command2);

    connect(Option1, &QRadioButton::clicked, this, [this] { Option1_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    centerOnScreen();
}

// "我知道了" starts unticked; OK waits for it.
void Frmzol1Form::Form_Load() { Command1->setEnabled(false); }

void Frmzol1Form::Option1_Click() { Command1->setEnabled(true); }

void Frmzol1Form::Command1_Click()
{
    // Stays loaded: the start-test command shows it again as it was left.
    Hide();
    frmzol2().Show();
}

void Frmzol1Form::Command2_Click() { Unload(); }

} // namespace zol
