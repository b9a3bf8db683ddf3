#include "dbtestsupport.h"

#include <utility>

using namespace zol;
using namespace dbtest;

// Saving, showing, changing and deleting rows through the data control, as
// the result windows, the browser and the query window do.
class DataControlTest : public zoltest::WindowFixture {
    Q_OBJECT
    int expectedMessages_ = 0;   // error boxes the test ends with

private slots:
    void init() { startWindows(); }
    void cleanup()
    {
        const int shown = dialogs->count();
        const int expected = std::exchange(expectedMessages_, 0);
        stopWindows();
        QCOMPARE(shown, expected);
    }

    void savedRowsReadBackInTheOrderStored()
    {
        // Not in alphabetical order, and the same test saved twice: two rows.
        const QStringList names = {QStringLiteral("王五"), QStringLiteral("张三"), QStringLiteral("Anna"),
                                   QStringLiteral("张三")};
        SaveForm form;
        for (int i = 0; i < names.size(); ++i)
            QVERIFY(form.save(sampleRecord(names[i], 9 - i)));
        QCOMPARE(rowCount(), 4);

        ShowForm browser;
        QVERIFY(browser.data.Refresh());
        QCOMPARE(browser.data.RecordCount(), 4);
        for (int i = 0; i < names.size(); ++i) {
            QCOMPARE(browser.shown(), sampleRecord(names[i], 9 - i));
            QVERIFY(browser.data.MoveNext());
        }
        QVERIFY(browser.data.isEOF());
        QCOMPARE(browser.shown(QStringLiteral("姓名")), QString());   // past the end: nothing shown
        QVERIFY(browser.data.MoveLast());
        QCOMPARE(browser.data.Fields(QStringLiteral("粗份P")).toInt(), 12);
    }

    void deleteRemovesTheCurrentRow()
    {
        SaveForm form;
        for (const QString& n : {QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("丙")})
            QVERIFY(form.save(sampleRecord(n)));

        ShowForm browser;
        QVERIFY(browser.data.Refresh());
        QVERIFY(browser.data.MoveNext());
        QVERIFY(browser.data.Delete());
        QCOMPARE(rowCount(), 2);
        QCOMPARE(browser.data.RecordCount(), 2);
        QVERIFY(!browser.data.isEOF());
        QVERIFY(browser.data.MoveNext());   // to the row after the deleted one
        QCOMPARE(browser.shown(QStringLiteral("姓名")), QStringLiteral("丙"));

        // Deleting the last row, then moving on, passes the end.
        QVERIFY(browser.data.Delete());
        QVERIFY(browser.data.MoveNext());
        QVERIFY(browser.data.isEOF());
        QVERIFY(browser.data.Refresh());
        QCOMPARE(browser.data.RecordCount(), 1);
        QCOMPARE(browser.shown(QStringLiteral("姓名")), QStringLiteral("甲"));

        // Nothing left to delete: refused, reported.
        QVERIFY(browser.data.Delete());
        QVERIFY(browser.data.MoveNext());
        QVERIFY(browser.data.isEOF() && browser.data.isBOF());
        QVERIFY(!browser.data.Delete());
        expectedMessages_ = 1;
        QCOMPARE(rowCount(), 0);
    }

    void quotesAndSqlInTextsAreStoredAndFound()
    {
        const QString name = QStringLiteral("O'Neil\"; DROP TABLE 用户信息; --");
        SaveForm form;
        QVERIFY(form.save(sampleRecord(QStringLiteral("张三"))));
        QVERIFY(form.save(sampleRecord(name)));

        ShowForm query(QStringLiteral("SELECT * FROM 用户信息 WHERE 姓名 = ?"), {name});
        QVERIFY(query.data.Refresh());
        QCOMPARE(query.data.RecordCount(), 1);
        QCOMPARE(query.shown(QStringLiteral("姓名")), name);
        QCOMPARE(rowCount(), 2);
    }

    void textsBecomeNumbersAndDates()
    {
        SaveForm form;
        QStringList texts = sampleRecord(QStringLiteral("张三"));
        texts[12] = QStringLiteral("75.5");       // 标准分P, halves to even
        texts[13] = QStringLiteral("74.5");       // 标准分E
        texts[9] = QStringLiteral(" 15 ");        // 粗分E
        texts[10] = QString();                     // 粗分N: blank is no value
        texts[2] = QStringLiteral(" 30 ");        // 年龄 is a text field: kept as typed
        texts[20] = QStringLiteral("2026/3/7");   // 测试日期
        QVERIFY(form.save(texts));

        const auto db = Database::OpenDatabase();
        const Recordset rs = db->OpenRecordset(QStringLiteral(
            "SELECT 标准分P, 标准分E, 粗分E, 粗分N, 年龄, 测试日期, typeof(标准分P) AS t FROM 用户信息"));
        QCOMPARE(rs.Fields(QStringLiteral("标准分P")).toInt(), 76);
        QCOMPARE(rs.Fields(QStringLiteral("标准分E")).toInt(), 74);
        QCOMPARE(rs.Fields(QStringLiteral("粗分E")).toInt(), 15);
        QVERIFY(rs.Fields(QStringLiteral("粗分N")).isNull());
        QCOMPARE(rs.Fields(QStringLiteral("年龄")).toString(), QStringLiteral(" 30 "));
        QCOMPARE(rs.Fields(QStringLiteral("测试日期")).toString(), QStringLiteral("2026-03-07"));
        QCOMPARE(rs.Fields(QStringLiteral("t")).toString(), QStringLiteral("integer"));
        // The form now shows the row as stored.
        QCOMPARE(form.box(QStringLiteral("标准分P"))->text(), QStringLiteral("76"));
    }

    void unconvertibleTextStoresNothing_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("text");
        QTest::newRow("letters in a score") << 9 << QStringLiteral("abc");
        QTest::newRow("number with a tail") << 15 << QStringLiteral("12a");
        QTest::newRow("too large") << 12 << QStringLiteral("99999999999");
        QTest::newRow("no such date") << 20 << QStringLiteral("2026-13-40");
        QTest::newRow("not a date") << 20 << QStringLiteral("昨天");
    }
    void unconvertibleTextStoresNothing()
    {
        QFETCH(int, field);
        QFETCH(QString, text);
        SaveForm form;
        QVERIFY(form.save(sampleRecord(QStringLiteral("甲"))));
        QStringList texts = sampleRecord(QStringLiteral("乙"));
        texts[field] = text;
        QVERIFY(!form.save(texts));
        expectedMessages_ = 1;
        verifyOneError(*dialogs, {testRecordFields()[field], text});
        QCOMPARE(rowCount(), 1);

        // The new row is still there to be put right.
        QVERIFY(form.data.isAdding());
        form.boxes[field]->setText(sampleRecord(QString())[field]);
        QVERIFY(form.data.Update());
        QCOMPARE(rowCount(), 2);
    }

    void updateWritesTheTextBoxesIntoTheCurrentRow()
    {
        SaveForm form;
        QVERIFY(form.save(sampleRecord(QStringLiteral("甲"))));
        QVERIFY(form.save(sampleRecord(QStringLiteral("乙"))));

        SaveForm editor;
        QVERIFY(editor.data.Refresh());
        editor.box(QStringLiteral("姓名"))->setText(QStringLiteral("甲改"));
        editor.box(QStringLiteral("标准分L"))->setText(QStringLiteral("41"));
        QVERIFY(editor.data.Update());
        QCOMPARE(rowCount(), 2);

        QStringList changed = sampleRecord(QStringLiteral("甲改"));
        changed[15] = QStringLiteral("41");
        verifyBrowsed({changed, sampleRecord(QStringLiteral("乙"))});
    }

    // A save writes only what changed, and only into the row as it was
    // read: a change another copy made meanwhile stays (a save over it is
    // refused and said, and the row read again), and a text longer than a
    // text box usually holds is shown whole and never rewritten cut.
    void updateWritesOnlyWhatChanged()
    {
        QStringList record = sampleRecord(QStringLiteral("甲"));
        record[17] = QString(40000, QChar(0x6587));   // E评价
        QVERIFY(SaveForm().save(record));
        SaveForm first, second;
        QVERIFY(first.data.Refresh());
        QVERIFY(second.data.Refresh());
        QCOMPARE(first.box(QStringLiteral("E评价"))->text(), record[17]);
        first.box(QStringLiteral("姓名"))->setText(QStringLiteral("甲改"));
        QVERIFY(first.data.Update());
        second.box(QStringLiteral("标准分L"))->setText(QStringLiteral("41"));
        QVERIFY(!second.data.Update());
        expectedMessages_ = 1;
        verifyOneError(*dialogs, {QStringLiteral("姓名“甲”"), QStringLiteral("没有保存")});
        QCOMPARE(second.box(QStringLiteral("姓名"))->text(), QStringLiteral("甲改"));
        second.box(QStringLiteral("标准分L"))->setText(QStringLiteral("41"));
        QVERIFY(second.data.Update());
        record[0] = QStringLiteral("甲改");
        record[15] = QStringLiteral("41");
        QCOMPARE(storedRows(), QList<QStringList>{record});
    }

    void typedTextIsWrittenBackOnLeavingTheRow()
    {
        SaveForm form;
        QVERIFY(form.save(sampleRecord(QStringLiteral("甲"))));
        QVERIFY(form.save(sampleRecord(QStringLiteral("乙"))));

        SaveForm editor;
        QVERIFY(editor.data.Refresh());
        QLineEdit* name = editor.box(QStringLiteral("姓名"));
        name->selectAll();
        QTest::keyClicks(name, QStringLiteral("Jia"));
        QVERIFY(editor.data.MoveNext());
        QCOMPARE(name->text(), QStringLiteral("乙"));

        // A score the user mistyped keeps the control on its row.
        QLineEdit* score = editor.box(QStringLiteral("粗分E"));
        score->selectAll();
        QTest::keyClicks(score, QStringLiteral("x1"));
        QVERIFY(!editor.data.MoveFirst());
        expectedMessages_ = 1;
        QCOMPARE(editor.data.Fields(QStringLiteral("姓名")).toString(), QStringLiteral("乙"));
        QCOMPARE(score->text(), QStringLiteral("x1"));
        verifyBrowsed({sampleRecord(QStringLiteral("Jia")), sampleRecord(QStringLiteral("乙"))});
    }

    void aStoredRowIsOnDiskWhenUpdateReturns()
    {
        SaveForm form;
        QVERIFY(form.save(sampleRecord(QStringLiteral("张三"))));
        QVERIFY(!QFile::exists(databasePath() + QStringLiteral("-journal")));
        RawConnection raw(databasePath());
        QCOMPARE(raw.value(QStringLiteral("SELECT 姓名 FROM 用户信息")).toString(), QStringLiteral("张三"));
    }
};

ZOL_TEST(DataControlTest)

#include "tst_datacontrol.moc"
