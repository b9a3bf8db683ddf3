#include "records/frmzol13.h"

#include "platform/database.h"
#include "platform/dialogs.h"
#include "platform/twips.h"
#include "records/recordgrid.h"
#include "testing/subjectlists.h"

#include <QComboBox>
#include <QDate>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace zol {

namespace {

const QString kEditOff = QStringLiteral("修改数据");
const QString kEditOn = QStringLiteral("停止修改");

QStringList numbers(int first, int last)
{
    QStringList list;
    for (int n = first; n <= last; ++n)
        list << QString::number(n);
    return list;
}

// A list the user may also type into; the date lists show today's values
// even where the year is not among their items.
QComboBox* makeDateList(QWidget* parent, const QStringList& items, int left, int top, int width)
{
    QComboBox* c = makeList(parent, items, left, top, width, 300);
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    // The lists are narrow: a slimmer arrow leaves room for a four-digit year.
    c->setStyleSheet(QStringLiteral("QComboBox { padding-left: 1px; } QComboBox::drop-down { width: 11px; }"));
    return c;
}

// The number a date list's text stands for; 0 when it is not a whole number.
int listNumber(const QComboBox* list)
{
    bool ok = false;
    const int n = list->currentText().trimmed().toInt(&ok);
    return ok ? n : 0;
}

} // namespace

Frmzol13Form::Frmzol13Form() : Form(QStringLiteral("frmzol13"))
{
    setWindowTitle(QStringLiteral("ZOL成人版分类查询"));
    setFixedDialogBorder();
    setClientSize(6360, 6765);
    setBackColor(this, QColor(224, 224, 224));

    Frame1 = makeFrame(this, QStringLiteral("分类查询"), 1200, 360, 4335, 3135);
    setBackColor(Frame1, QColor(128, 128, 255));
    setForeColor(Frame1, QColor(255, 192, 128));
    makeLabel(Frame1, QStringLiteral("分    类"), 960, 480);
    makeLabel(Frame1, QStringLiteral("条  件"), 2160, 480);
    makeLabel(Frame1, QStringLiteral("查  询"), 3240, 480);

    const struct {
        QRadioButton** option;
        int optionTop;
        const char16_t* caption;
        int captionTop;
        QPushButton** button;
        int buttonTop;
    } rows[] = {
        {&Option1, 840, u"姓    名", 960, &Command1, 960},
        {&Option2, 1290, u"性    别", 1320, &Command2, 1320},
        {&Option3, 1620, u"文    化", 1740, &Command3, 1680},
        {&Option4, 2040, u"职    业", 2160, &Command4, 2040},
        {&Option5, 2400, u"日期", 2520, &Command5, 2400},
    };
    for (const auto& r : rows) {
        *r.option = makeOption(Frame1, QString(), 480, r.optionTop, 255, 255);
        makeLabel(Frame1, QString::fromUtf16(r.caption), 960, r.captionTop);
        *r.button = makeButton(Frame1, QStringLiteral("确定"), 3240, r.buttonTop, 735, 255);
    }
    Text1 = makeTextBox(Frame1, 2040, 960, 855, 270);
    Combo1 = makeList(Frame1, {QStringLiteral("男"), QStringLiteral("女")}, 2040, 1320, 855, 300);
    Combo2 = makeList(Frame1, educationItems(), 2040, 1680, 855, 300);
    Combo3 = makeList(Frame1, occupationItems(), 2040, 2040, 855, 300);
    CboYear = makeDateList(Frame1, numbers(2000, 2020), 1440, 2400, 735);
    cboMonth = makeDateList(Frame1, {}, 2160, 2400, 495);
    cboDay = makeDateList(Frame1, {}, 2640, 2400, 615);

    DBGrid1 = new DataGrid(this);
    place(DBGrid1, 720, 3480, 5295, 2295);
    Data1 = DBGrid1->records();

    Command6 = makeButton(this, kEditOff, 2520, 6000, 855, 375);
    Command7 = makeButton(this, QStringLiteral("退 出"), 3840, 6000, 855, 375);

    QRadioButton* options[] = {Option1, Option2, Option3, Option4, Option5};
    for (int i = 0; i < 5; ++i)
        connect(options[i], &QRadioButton::clicked, this, [this, i] { Option_Click(i + 1); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
    connect(Command5, &QPushButton::clicked, this, [this] { Command5_Click(); });
    connect(Command6, &QPushButton::clicked, this, [this] { Command6_Click(); });
    connect(Command7, &QPushButton::clicked, this, [this] { Command7_Click(); });
    centerOnScreen();
}

void Frmzol13Form::Form_Load()
{
    Option1->setChecked(true);
    Option_Click(1);
    Data1->setDatabaseName(databasePath());
    static_cast<void>(Data1->Refresh());   // a failure has been said; the grid is empty
    const QDate today = QDate::currentDate();
    CboYear->setEditText(QString::number(today.year()));
    cboMonth->addItems(numbers(1, 12));
    cboMonth->setEditText(QString::number(today.month()));
    cboDay->addItems(numbers(1, 31));
    cboDay->setEditText(QString::number(today.day()));
}

// A row being added is stored before the window goes; when it cannot be
// (said), 退出 and the close box keep the window, and the row's texts. An
// unload by code cannot stay.
void Frmzol13Form::Form_Unload() { static_cast<void>(DBGrid1->finishEditing()); }

void Frmzol13Form::Form_QueryUnload(bool& cancel) { cancel = !DBGrid1->finishEditing(); }

void Frmzol13Form::Command7_Click()
{
    if (DBGrid1->finishEditing())
        Unload();
}

void Frmzol13Form::Option_Click(int number)
{
    QRadioButton* options[] = {Option1, Option2, Option3, Option4, Option5};
    QPushButton* buttons[] = {Command1, Command2, Command3, Command4, Command5};
    options[number - 1]->setChecked(true);
    for (int i = 0; i < 5; ++i)
        buttons[i]->setEnabled(i == number - 1);
}

// A row being added that cannot be stored stays, with its texts, rather
// than give way to the query. A failed query has been said; the grid is
// empty then.
void Frmzol13Form::query(const QString& condition, const QVariantList& params)
{
    if (!DBGrid1->finishEditing())
        return;
    Data1->setRecordSource(condition, params);
    static_cast<void>(Data1->Refresh());
}

// What the user typed or chose is bound as a value, never joined into the
// statement: a name with a quote is found like any other.
void Frmzol13Form::textQuery(const QString& input, const QString& field,
                             const QString& emptyMessage)
{
    if (input.isEmpty()) {
        MsgBox(emptyMessage);
        query(QString(), {});
        return;
    }
    query(QLatin1Char('"') + field + QStringLiteral("\" = ?"), {input});
}

void Frmzol13Form::Command1_Click()
{
    textQuery(Text1->text(), QStringLiteral("姓名"), QStringLiteral("请输入欲查询的姓名"));
}

void Frmzol13Form::Command2_Click()
{
    textQuery(Combo1->currentText(), QStringLiteral("性别"), QStringLiteral("请选择查询性别"));
}

void Frmzol13Form::Command3_Click()
{
    textQuery(Combo2->currentText(), QStringLiteral("文化"), QStringLiteral("请选择文化类别！"));
}

void Frmzol13Form::Command4_Click()
{
    textQuery(Combo3->currentText(), QStringLiteral("职业"), QStringLiteral("请选择职业类别！"));
}

// Only a date that exists is looked for, in the form the dates are stored.
void Frmzol13Form::Command5_Click()
{
    const QDate date(listNumber(CboYear), listNumber(cboMonth), listNumber(cboDay));
    if (!date.isValid()) {
        MsgBox(QStringLiteral("请选择正确的日期！"));
        return;
    }
    query(QStringLiteral("\"测试日期\" = ?"), {date.toString(QStringLiteral("yyyy-MM-dd"))});
}

void Frmzol13Form::Command6_Click()
{
    if (!DBGrid1->finishEditing())
        return;
    const bool on = Command6->text() == kEditOff;
    DBGrid1->setAllowAddNew(on);
    DBGrid1->setAllowDelete(on);
    DBGrid1->setAllowUpdate(on);
    Command6->setText(on ? kEditOn : kEditOff);
}

} // namespace zol
