// The query window: one criterion at a time, bound as a value; the grid's
// edit switches and what its edits store.
#include "recordstest.h"

#include "platform/datanotices.h"
#include "platform/dbtestsupport.h"
#include "records/frmzol13.h"
#include "records/recordgrid.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <cstdio>

using namespace zol;

namespace {

// name, sex, education, occupation, test date
const QStringList kTests = {
    QStringLiteral("O'Neil|男|本科|教师|2026-03-07"),
    QStringLiteral("张三|女|高中|工人|2026-03-07"),
    QStringLiteral(" |男|硕士|医生|2025-12-31"),
    QStringLiteral("李四|男|本科|其它|2003-02-28"),
};

void storeTests()
{
    auto db = Database::OpenDatabase();
    QVERIFY(db);
    const QStringList fields = zoltest::items(u"姓名|性别|文化|职业|测试日期|标准分P");
    for (const QString& t : kTests) {
        FieldTexts row;
        const QStringList values = t.split(QLatin1Char('|')) << QStringLiteral("45");
        for (int i = 0; i < fields.size(); ++i)
            row << qMakePair(fields[i], values[i]);
        QVERIFY(db->InsertRow(testRecordTable(), row));
    }
}

// The names the grid shows, top to bottom (the adding row left out).
QStringList shownNames(const Frmzol13Form& w)
{
    QStringList names;
    const int column = RecordsModel::gridFields().indexOf(QStringLiteral("姓名"));
    for (int r = 0; r < w.Data1->storedRowCount(); ++r)
        names << w.Data1->index(r, column).data().toString();
    return names;
}

QStringList storedColumn(const QString& field)
{
    QStringList values;
    for (const QStringList& row : dbtest::storedRows())
        values << row[testRecordFields().indexOf(field)];
    return values;
}

} // namespace

class QueryWindowTest : public zoltest::WindowFixture {
    Q_OBJECT
private slots:
    void init()
    {
        startWindows();
        storeTests();
    }
    void cleanup() { stopWindows(); }

    // Each criterion after a name query for 张三: the rows found, or the
    // message for an empty input (then every row) or a date that does not
    // exist (then no query runs).
    void criteria_data()
    {
        QTest::addColumn<int>("option");
        QTest::addColumn<QString>("input");   // the date as year|month|day
        QTest::addColumn<QString>("found");   // names joined by '/'
        QTest::addColumn<QString>("message");
        const QString all = QStringLiteral("O'Neil/张三/ /李四");
        QTest::newRow("name with a quote") << 1 << "O'Neil" << "O'Neil" << "";
        QTest::newRow("name as an injection") << 1 << "x' or '1'='1" << "" << "";
        QTest::newRow("name a single blank") << 1 << " " << " " << "";
        QTest::newRow("name empty") << 1 << "" << all << "请输入欲查询的姓名";
        QTest::newRow("sex") << 2 << "男" << "O'Neil/ /李四" << "";
        QTest::newRow("sex empty") << 2 << "" << all << "请选择查询性别";
        QTest::newRow("education") << 3 << "本科" << "O'Neil/李四" << "";
        QTest::newRow("education empty") << 3 << "" << all << "请选择文化类别！";
        QTest::newRow("occupation") << 4 << "医生" << " " << "";
        QTest::newRow("occupation empty") << 4 << "" << all << "请选择职业类别！";
        QTest::newRow("date") << 5 << "2026|3|7" << "O'Neil/张三" << "";
        QTest::newRow("date with leading zeros") << 5 << "2003|02|28" << "李四" << "";
        QTest::newRow("date that does not exist") << 5 << "2003|2|30" << "张三" << "请选择正确的日期！";
        QTest::newRow("date not a number") << 5 << "2003|二|3" << "张三" << "请选择正确的日期！";
    }
    void criteria()
    {
        QFETCH(int, option);
        QFETCH(QString, input);
        QFETCH(QString, found);
        QFETCH(QString, message);
        Frmzol13Form& w = frmzol13();
        QCOMPARE(shownNames(w).size(), kTests.size());
        w.Text1->setText(QStringLiteral("张三"));
        w.Command1->click();
        QCOMPARE(shownNames(w), QStringList{QStringLiteral("张三")});

        QRadioButton* options[] = {w.Option1, w.Option2, w.Option3, w.Option4, w.Option5};
        QPushButton* buttons[] = {w.Command1, w.Command2, w.Command3, w.Command4, w.Command5};
        options[option - 1]->click();
        for (int i = 0; i < 5; ++i)
            QCOMPARE(buttons[i]->isEnabled(), i == option - 1);
        const QStringList parts = input.split(QLatin1Char('|'));
        switch (option) {
        case 1: w.Text1->setText(input); break;
        case 2: w.Combo1->setCurrentIndex(w.Combo1->findText(input)); break;
        case 3: w.Combo2->setCurrentIndex(w.Combo2->findText(input)); break;
        case 4: w.Combo3->setCurrentIndex(w.Combo3->findText(input)); break;
        default:
            w.CboYear->setEditText(parts[0]);
            w.cboMonth->setEditText(parts[1]);
            w.cboDay->setEditText(parts[2]);
        }
        dialogs->clear();
        buttons[option - 1]->click();
        QCOMPARE(shownNames(w).join(QLatin1Char('/')), found);
        if (message.isEmpty())
            QCOMPARE(dialogs->count(), 0);
        else
            zoltest::verifyOneMessage(*dialogs, message, programTitle(), vbOKOnly);
    }

    // The toggle switches all three on and back off; a grid that is not
    // being edited takes no change.
    void editToggle()
    {
        Frmzol13Form& w = frmzol13();
        QCOMPARE(w.DBGrid1->records()->columnCount(), testRecordFields().size());
        for (const QString& caption : {QStringLiteral("停止修改"), QStringLiteral("修改数据")}) {
            w.Command6->click();
            const bool on = caption == QStringLiteral("停止修改");
            QCOMPARE(w.Command6->text(), caption);
            QCOMPARE(w.DBGrid1->AllowAddNew(), on);
            QCOMPARE(w.DBGrid1->AllowDelete(), on);
            QCOMPARE(w.DBGrid1->AllowUpdate(), on);
            QCOMPARE(w.Data1->rowCount(), kTests.size() + (on ? 1 : 0));
        }
        QVERIFY(!w.Data1->setData(w.Data1->index(0, 1), QStringLiteral("改名")));
        QCOMPARE(storedColumn(QStringLiteral("姓名")).first(), QStringLiteral("O'Neil"));
    }

    // A change of a cell is stored at once; a refused one is said and the
    // cell shows the stored value again.
    void cellChanges_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("refusedByEngine");
        QTest::addColumn<QString>("stored");
        QTest::newRow("score") << "标准分P" << "66" << false << "66";
        QTest::newRow("name") << "姓名" << "O'Brien" << false << "O'Brien";
        QTest::newRow("score not a number") << "标准分P" << "abc" << false << "45";
        QTest::newRow("date that does not exist") << "测试日期" << "2026-02-30" << false << "2026-03-07";
        QTest::newRow("engine refuses") << "姓名" << "王五" << true << "O'Neil";
    }
    void cellChanges()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(bool, refusedByEngine);
        QFETCH(QString, stored);
        if (refusedByEngine) {
            dbtest::RawConnection raw(databasePath());
            QVERIFY(raw.exec(QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON 用户信息 "
                                            "BEGIN SELECT RAISE(ABORT, 'refused'); END")));
        }
        Frmzol13Form& w = frmzol13();
        w.Command6->click();
        const QModelIndex cell = w.Data1->index(0, RecordsModel::gridFields().indexOf(field));
        QCOMPARE(w.Data1->setData(cell, text), stored == text);
        QCOMPARE(cell.data().toString(), stored);
        QCOMPARE(storedColumn(field).first(), stored);
        QCOMPARE(dialogs->count(), stored == text ? 0 : 1);
        if (stored != text)
            QCOMPARE(dialogs->last().title, QStringLiteral("出错信息"));
    }

    // The first row, O'Neil, edited (姓名 := 改名) or deleted after the rows
    // were replaced by others with new keys or O'Neil changed elsewhere,
    // after another file was moved over zol.mdb ("moved over") or zol.mdb
    // was deleted ("deleted"), or after a restore of this copy replaced them
    // (it tells its windows, and the grid shows the new rows before the user
    // acts). Nothing reaches a test the grid does not show; a row no longer
    // as shown is named once, and the rows are read again.
    void writesOnlyIntoTheShownRow_data()
    {
        QTest::addColumn<QStringList>("change");
        QTest::addColumn<bool>("restored");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QStringList>("messages");   // words of each message, '|' between them
        QTest::addColumn<QString>("left");           // stored names; the grid shows them too
        const QStringList replace = {QStringLiteral("DELETE FROM 用户信息"),
                                     QStringLiteral("INSERT INTO 用户信息 (rowid, 姓名) VALUES (11, '王'), (12, '赵')")};
        const QStringList change = {QStringLiteral("UPDATE 用户信息 SET 编号 = '9' WHERE rowid = 1")};
        const QString all = QStringLiteral("O'Neil/张三/ /李四");
        QTest::newRow("replaced elsewhere, edited") << replace << false << "edit" << QStringList{"姓名“O'Neil”|没有保存"} << "王/赵";
        QTest::newRow("replaced elsewhere, deleted") << replace << false << "delete" << QStringList{"删除这条", "姓名“O'Neil”|没有删除"} << "王/赵";
        QTest::newRow("changed elsewhere, edited") << change << false << "edit" << QStringList{"姓名“O'Neil”|没有保存"} << all;
        QTest::newRow("changed elsewhere, deleted") << change << false << "delete" << QStringList{"删除这条", "没有删除"} << all;
        QTest::newRow("file moved over it, edited") << QStringList{"moved over"} << false << "edit" << QStringList{"姓名“O'Neil”|没有保存"} << "王/赵";
        QTest::newRow("file deleted, deleted") << QStringList{"deleted"} << false << "delete" << QStringList{"删除这条", "没有删除"} << "";
        QTest::newRow("restored in this copy, edited") << replace << true << "edit" << QStringList{} << "改名/赵";
        QTest::newRow("restored in this copy, deleted") << replace << true << "delete" << QStringList{"删除这条"} << "赵";
    }
    void writesOnlyIntoTheShownRow()
    {
        QFETCH(QStringList, change);
        QFETCH(bool, restored);
        QFETCH(QString, action);
        QFETCH(QStringList, messages);
        QFETCH(QString, left);
        Frmzol13Form& w = frmzol13();
        w.Command6->click();
        QCOMPARE(shownNames(w).first(), QStringLiteral("O'Neil"));
        if (change == QStringList{QStringLiteral("moved over")}) {
            const QString other = folder->file(QStringLiteral("other.mdb"));
            QVERIFY(Database::OpenDatabase(other));
            QVERIFY(dbtest::RawConnection(other).exec(
                QStringLiteral("INSERT INTO 用户信息 (rowid, 姓名) VALUES (11, '王'), (12, '赵')")));
            QCOMPARE(std::rename(QFile::encodeName(other).constData(), QFile::encodeName(databasePath()).constData()), 0);
        } else if (change == QStringList{QStringLiteral("deleted")}) {
            QVERIFY(QFile::remove(databasePath()));
        } else {
            dbtest::RawConnection raw(databasePath());
            for (const QString& statement : change)
                QVERIFY(raw.exec(statement));
        }
        if (restored)
            announceDatabaseReplaced(databasePath());
        if (action == QStringLiteral("edit")) {
            QCOMPARE(w.Data1->setData(w.Data1->index(0, 1), QStringLiteral("改名")), restored);
        } else {
            w.DBGrid1->clearSelection();
            w.DBGrid1->selectRow(0);
            QTest::keyClick(w.DBGrid1, Qt::Key_Delete);
        }
        const QStringList prompts = dialogs->prompts();
        QCOMPARE(prompts.size(), messages.size());
        for (int i = 0; i < messages.size(); ++i)
            for (const QString& word : messages[i].split(QLatin1Char('|')))
                QVERIFY2(prompts[i].contains(word), qPrintable(prompts[i]));
        QCOMPARE(storedColumn(QStringLiteral("姓名")).join(QLatin1Char('/')), left);
        QTRY_COMPARE(shownNames(w).join(QLatin1Char('/')), left);
    }

    // A row typed into the adding row is stored when the user leaves it;
    // deleting asks first and removes exactly the chosen rows.
    void addAndDelete()
    {
        Frmzol13Form& w = frmzol13();
        w.Command6->click();
        const int added = kTests.size();
        QVERIFY(w.Data1->isNewRow(added));
        w.DBGrid1->setCurrentIndex(w.Data1->index(added, 1));
        QVERIFY(w.Data1->setData(w.Data1->index(added, 1), QStringLiteral("新人")));
        QVERIFY(w.Data1->setData(w.Data1->index(added, 2), QStringLiteral("女")));
        QCOMPARE(dbtest::rowCount(), kTests.size());   // nothing stored yet
        w.DBGrid1->setCurrentIndex(w.Data1->index(0, 1));
        QCOMPARE(storedColumn(QStringLiteral("姓名")).last(), QStringLiteral("新人"));
        QCOMPARE(shownNames(w).last(), QStringLiteral("新人"));
        QVERIFY(w.Data1->isNewRow(added + 1));

        w.DBGrid1->clearSelection();
        w.DBGrid1->selectRow(1);
        w.DBGrid1->selectionModel()->select(w.Data1->index(3, 0),
                                            QItemSelectionModel::Select | QItemSelectionModel::Rows);
        dialogs->messageAnswers = {vbCancel, vbOK};
        for (int answer = 0; answer < 2; ++answer) {
            QTest::keyClick(w.DBGrid1, Qt::Key_Delete);
            QCOMPARE(dialogs->last().title, QStringLiteral("询问"));
            QCOMPARE(dialogs->last().style, vbOKCancel | vbInformation);
        }
        const QStringList left = {QStringLiteral("O'Neil"), QStringLiteral(" "), QStringLiteral("新人")};
        QCOMPARE(storedColumn(QStringLiteral("姓名")), left);
        QCOMPARE(shownNames(w), left);
    }
};

ZOL_TEST(QueryWindowTest)
#include "tst_query.moc"
