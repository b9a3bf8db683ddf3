#include "testing/questionnaire.h"

#include "platform/dialogs.h"
#include "platform/fonts.h"
#include "platform/palette.h"
#include "platform/paths.h"
#include "platform/twips.h"
#include "testing/frmzol1.h"
#include "testing/frmzol2.h"
#include "testing/frmzol20.h"
#include "testing/zolmodule1.h"

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QStringDecoder>

namespace zol {

namespace {


} // namespace

QString itemFilePath() { return programFile(QStringLiteral("zolitems.txt")); }

bool readItemFile(const QString& path, QStringList* items, QString* message)
{
    items->clear();
    QFile file(path);
    if (!file.exists()) {
        *message = QStringLiteral("找不到题目文件：%1\n请把经授权的88道题目原文放入此文件"
                                  "（UTF-8编码，每行一题）后再开始测试。")
                       .arg(shownPath(path));
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        *message = QStringLiteral("无法读取题目文件：%1\n请检查该文件的读取权限后再开始测试。")
                       .arg(shownPath(path));
        return false;
    }
    const QByteArray bytes = file.readAll();
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError()) {
        *message = QStringLiteral("题目文件不是UTF-8编码的文本：%1\n请以UTF-8编码保存该文件"
                                  "（每行一题）后再开始测试。")
                       .arg(shownPath(path));
        return false;
    }
    QStringList found;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const QString item = line.trimmed();
        if (!item.isEmpty())
            found << item;
    }
    if (found.size() != kItemCount) {
        *message = QStringLiteral("题目文件中有%1道题目，应为%2道（每行一题）：%3\n"
                                  "请检查该文件后再开始测试。")
                       .arg(found.size())
                       .arg(kItemCount)
                       .arg(shownPath(path));
        return false;
    }
    *items = found;
    return true;
}

QuestionnaireForm::QuestionnaireForm(const QString& name, ChartKind chart)
    : Form(name), chart_(chart)
{
    setWindowTitle(QStringLiteral("ZOL人格问卷成人版"));
    setFixedDialogBorder();
    setClientSize(7890, 5160);
    setBackColor(this, QColor(224, 224, 224));

    Label1 = makeLabel(this, QStringLiteral("Vormel人格问卷成人版"), 2520, 720, 3375, 375);
    Label1->setFont(vbFont(QStringLiteral("楷体_GB2312"), 15, true));
    setForeColor(Label1, kBlue);

    Frame1 = makeFrame(this, QStringLiteral("测题"), 960, 1560, 6135, 2055);
    setForeColor(Frame1, kBlue);
    Label2 = makeLabel(Frame1, QString(), 360, 480, 375, 495);
    Label2->setFont(vbFont(QStringLiteral("宋体"), 12));
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setForeColor(Label2, kPink);
    Label3 = makeLabel(Frame1, QString(), 840, 480, 4455, 735);
    Label3->setFont(vbFont(QStringLiteral("楷体_GB2312"), 12));
    Label3->setTextFormat(Qt::PlainText);
    Label3->setWordWrap(true);
    Label3->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setForeColor(Label3, kBlue);
    Label4 = makeLabel(Frame1, QString(), 5400, 480, 615, 375);
    Label4->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setForeColor(Label4, kPink);
    Command1 = makeButton(Frame1, QStringLiteral("是"), 2160, 1320, 615, 375);
    Command2 = makeButton(Frame1, QStringLiteral("否"), 3840, 1320, 615, 375);

    Command3 = makeButton(this, QStringLiteral("向前"), 1800, 4080, 840, 375);
    Command4 = makeButton(this, QStringLiteral("向后"), 2640, 4080, 840, 375);
    Command5 = makeButton(this, QStringLiteral("完成"), 4440, 4080, 840, 375);
    Command6 = makeButton(this, QStringLiteral("结束"), 5280, 4080, 840, 375);

    // 是 comes first, so it has the focus when the window opens.
    const QList<QWidget*> order = {Command1, Command2, Command4, Command5, Command6, Command3};
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
    connect(Command5, &QPushButton::clicked, this, [this] { Command5_Click(); });
    connect(Command6, &QPushButton::clicked, this, [this] { Command6_Click(); });
    centerOnScreen();
}

void QuestionnaireForm::Form_Load()
{
    QStringList texts;
    QString message;
    hasItems_ = readItemFile(itemFilePath(), &texts, &message);
    if (!hasItems_)
        ErrorBox(message);
    for (int n = 1; n <= kItemCount; ++n)
        Items[n] = hasItems_ ? texts.at(n - 1) : QString();
    beginTest();
}

// Every showing starts a new test: nothing of an earlier one is kept.
void QuestionnaireForm::showEvent(QShowEvent* e)
{
    if (!e->spontaneous())
        beginTest();
    Form::showEvent(e);
}

void QuestionnaireForm::beginTest()
{
    Frmzol2Form& subject = frmzol2();
    gAge = subject.Text3->text();
    gSex = subject.sexText();
    CurItem = 1;
    for (QString& a : Answers)
        a.clear();
    clearScores();
    Label3->setText(Items[1]);
    Label4->clear();
    Label2->setText(QStringLiteral("1."));
    for (QPushButton* b : {Command1, Command2, Command3, Command4, Command6})
        b->setEnabled(true);
    Command5->setEnabled(false);
    Command1->setFocus();
}

void QuestionnaireForm::showItem(int n, bool indented)
{
    Label3->setText(indented ? QStringLiteral("    ") + Items[n] : Items[n]);
    Label2->setText(QString::number(n) + QLatin1Char('.'));
    Label4->setText(Answers[n]);
}

void QuestionnaireForm::answer(const QString& given)
{
    const int i = CurItem;
    if (!Answers[i].isEmpty()) {
        // A second answer replaces the first; the item stays on screen.
        Answers[i] = given;
        Label4->setText(given);
        Command5->setEnabled(true);
        return;
    }
    Answers[i] = given;
    if (i < kItemCount) {
        CurItem = qint16(i + 1);
        showItem(CurItem, true);
        return;
    }
    // The last item stays on screen.
    Label4->setText(given);
    Command5->setEnabled(true);
    if (given == answerYes()) {
        Command1->setEnabled(false);
        Command2->setEnabled(false);
    }
}

void QuestionnaireForm::Command1_Click() { answer(answerYes()); }

void QuestionnaireForm::Command2_Click() { answer(answerNo()); }

void QuestionnaireForm::Command3_Click()
{
    for (QPushButton* b : {Command4, Command1, Command2})
        b->setEnabled(true);
    if (CurItem > 1) {
        --CurItem;
        showItem(CurItem, false);
    } else {
        Command3->setEnabled(false);
    }
}

void QuestionnaireForm::Command4_Click()
{
    for (QPushButton* b : {Command3, Command1, Command2})
        b->setEnabled(true);
    if (CurItem < kItemCount) {
        ++CurItem;
        showItem(CurItem, false);
    } else {
        Command4->setEnabled(false);
    }
}

ResultForm& QuestionnaireForm::resultWindow()
{
    if (chart_ == ChartKind::Profile)
        return frmzol4();
    return frmzol21();
}

void QuestionnaireForm::Command5_Click()
{
    Hide();

    // Counted afresh: whatever an earlier test left in the counters is gone.
    const RawScores raw = scoreAnswers(Answers);
    gPRaw = qint16(raw.p);
    gERaw = qint16(raw.e);
    gNRaw = qint16(raw.n);
    gLRaw = qint16(raw.l);
    clearStandardScores();
    ApplyNorms();

    // The E-N window draws its point itself while it loads; the profile is
    // drawn here once the window is on screen.
    ResultForm& result = resultWindow();
    result.Show();
    if (chart_ == ChartKind::Profile)
        ProfileChart(result);
    writeScoreLabels(result);
    writeSubjectLabels(result);
}

void QuestionnaireForm::Command6_Click()
{
    if (MsgBox(QStringLiteral("测试还没有结束，你真的要提前结束个性测试吗！"),
               vbOKCancel | vbInformation, QStringLiteral("提示"))
        != vbOK)
        return;
    Unload();
    unloadWindows({unloadOf<Frmzol20Form>, unloadOf<Frmzol2Form>, unloadOf<Frmzol1Form>});
}

// The close box asks the quit question too; on OK the whole test goes.
void QuestionnaireForm::Form_QueryUnload(bool& cancel)
{
    cancel = true;
    Command6_Click();
}

Frmzol3Form::Frmzol3Form() : QuestionnaireForm(QStringLiteral("Frmzol3"), ChartKind::Profile) {}

Frmzol23Form::Frmzol23Form() : QuestionnaireForm(QStringLiteral("Frmzol23"), ChartKind::EN) {}

} // namespace zol
