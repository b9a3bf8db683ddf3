#include "testing/frmzol20.h"

#include "platform/twips.h"
#include "testing/frmzol1.h"
#include "testing/frmzol2.h"
#include "testing/questionnaire.h"
#include "testing/rawscores.h"
#include "testing/resultwindow.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

namespace zol {

Frmzol20Form::Frmzol20Form() : Form(QStringLiteral("frmzol20"))
{
    setWindowTitle(QStringLiteral("ZOL人格测验"));
    setFixedDialogBorder();
    setClientSize(3465, 4380);

    Frame1 = makeFrame(this, QStringLiteral("请选择测试模式"), 600, 360, 2415, 1575);
    Option1 = makeOption(Frame1, QStringLiteral("手工计分汇总法"), 360, 480, 1575, 375);
    Option2 = makeOption(Frame1, QStringLiteral("电脑计分分析法"), 360, 960, 1815, 375);
    Frame2 = makeFrame(this, QStringLiteral("请选择图形模式"), 600, 2160, 2415, 1335);
    Option3 = makeOption(Frame2, QStringLiteral("ZOL折线图"), 360, 360, 1695, 255);
    Option4 = makeOption(Frame2, QStringLiteral("E—N关系图"), 360, 840, 1215, 255);
    Command1 = makeButton(this, QStringLiteral("确 定"), 840, 3720, 735, 375);
    Command2 = makeButton(this, QStringLiteral("退 出"), 1920, 3720, 735, 375);

    const QList<QWidget*> order = {Option1, Option2, Command1, Command2, Option3, Option4};
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    for (QRadioButton* o : {Option1, Option2, Option3, Option4})
        connect(o, &QRadioButton::toggled, this, [this] { updateOkButton(); });
    centerOnScreen();
}

// The four options start with none chosen; OK waits for a mode and a chart.
void Frmzol20Form::Form_Load() { Command1->setEnabled(false); }

void Frmzol20Form::updateOkButton()
{
    const bool mode = Option1->isChecked() || Option2->isChecked();
    const bool chart = Option3->isChecked() || Option4->isChecked();
    if (!mode)
        Command1->setEnabled(false);
    else if (chart)
        Command1->setEnabled(true);
}

void Frmzol20Form::Command1_Click()
{
    const bool profile = Option3->isChecked();
    const bool en = Option4->isChecked();
    if (Option1->isChecked() && (profile || en)) {
        Hide();
        if (profile)
            frmzol19().Show(vbModal);
        else
            frmzol22().Show(vbModal);
        return;
    }
    if (Option2->isChecked() && (profile || en)) {
        // Without the 88 item texts the questionnaire cannot run: its load
        // has said why, and this window stays for another choice.
        QuestionnaireForm& q = profile ? static_cast<QuestionnaireForm&>(Frmzol3())
                                       : static_cast<QuestionnaireForm&>(Frmzol23());
        if (!q.hasItems()) {
            q.Unload();
            return;
        }
        Hide();
        q.Show(vbModal);
    }
}

void Frmzol20Form::Command2_Click()
{
    unloadWindows({unloadOf<Frmzol20Form>, unloadOf<Frmzol2Form>, unloadOf<Frmzol1Form>});
}

} // namespace zol
