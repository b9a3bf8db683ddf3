// The stored-test browser: moves, deletion and rows changed elsewhere, the
// profile, what reaches the file, and the report of the shown row.
#include "recordstest.h"

#include "platform/datacontrol.h"
#include "platform/datanotices.h"
#include "platform/dbtestsupport.h"
#include "records/frmzol6.h"
#include "reports/reportwindows.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

using namespace zol;

namespace {

const QString kEmpty = QStringLiteral("数据库中的记录为空!");
const QString kFirst = QStringLiteral("已经到了第一条记录!");
const QString kLast = QStringLiteral("已经到了最后一条记录!");
const QString kDelete = QStringLiteral("你真要删除这条记录吗？");

// One test per text "name P E N L P评价 E评价 N评价 L评价"; "-" or a
// missing field stays empty.
void store(const QStringList& tests)
{
    recordstest::storeTests(tests, zoltest::items(u"姓名|标准分P|标准分E|标准分N|标准分L|P评价|E评价|N评价|L评价"));
}

// The first n of 甲, 乙, 丙, with evaluation texts of their own.
QStringList people(int n)
{
    QStringList rows;
    for (const QString& name : zoltest::items(u"甲|乙|丙").mid(0, n))
        rows << name + QStringLiteral(" 50 50 50 50 1：%1 2：%1 3：%1 4：%1").arg(name);
    return rows;
}

// Clicks the buttons named by their captions without blanks; "不删" clicks
// 删除 and answers its question with Cancel.
void press(Frmzol6Form& w, const QString& clicks, QStringList* shown = nullptr)
{
    const QStringList names = zoltest::items(u"首条|<<<|>>>|末条|删除|画图|打印|退出|不删");
    QPushButton* buttons[] = {w.Command6, w.Command7, w.Command8, w.Command9, w.Command1,
                              w.Command4, w.Command3, w.Command2, w.Command1};
    for (const QString& b : clicks.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (b == QStringLiteral("不删"))
            dynamic_cast<ScriptedDialogs&>(dialogs()).messageAnswers = {vbCancel};
        QTest::mouseClick(buttons[names.indexOf(b)], Qt::LeftButton);
        if (shown)
            *shown << w.Label18->text();
    }
}

QList<int> drawnY(Frmzol6Form& w)
{
    QList<int> y;
    for (const Figure& f : w.surface().drawn())
        y << f.a.y();
    if (!y.isEmpty())
        y << w.surface().drawn().last().b.y();
    return y;
}

QString storedNames()
{
    QStringList names;
    for (const QStringList& row : dbtest::storedRows())
        names << row[0];
    return names.join(QLatin1Char('/'));
}

} // namespace

class BrowserTest : public zoltest::WindowFixture {
    Q_OBJECT
private slots:
    void init() { startWindows(); }
    void cleanup() { stopWindows(); }

    // The bands of the browser's texts meet at 38.5, 50 and 61.5.
    // From the first row: clicks, rows saved or deleted elsewhere at "|";
    // the name shown after each click, the messages, 首条 <<< >>> 末条 at
    // the end, and the stored tests. Moves and deletes leave the chart.
    void browse_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("clicks");
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("buttons");
        QTest::addColumn<QString>("left");
        const QString add = QStringLiteral("INSERT INTO 用户信息 (姓名) VALUES ('丁')");
        const QString drop = QStringLiteral("DELETE FROM 用户信息 WHERE 姓名 = '%1'");
        QTest::newRow("on to the end") << 3 << ">>> >>> >>>" << "" << "乙/丙/丙" << QStringList{kLast} << "1100" << "甲/乙/丙";
        QTest::newRow("back at the start") << 3 << "<<<" << "" << "甲" << QStringList{kFirst} << "0011" << "甲/乙/丙";
        QTest::newRow("last, first, first") << 3 << "末条 首条 首条" << "" << "丙/甲/甲" << QStringList{} << "0011" << "甲/乙/丙";
        QTest::newRow("first, next, previous") << 3 << "首条 >>> <<<" << "" << "甲/乙/甲" << QStringList{} << "1111" << "甲/乙/丙";
        QTest::newRow("one row") << 1 << ">>> <<<" << "" << "甲/甲" << QStringList{kLast, kFirst} << "0011" << "甲";
        QTest::newRow("empty table") << 0 << "首条 <<< >>> 末条" << "" << "///" << QStringList(4, kEmpty) << "1111" << "";
        QTest::newRow("delete the middle row") << 3 << ">>> 删除" << "" << "乙/甲" << QStringList{kDelete} << "1111" << "甲/丙";
        QTest::newRow("delete the last row") << 3 << "末条 删除" << "" << "丙/甲" << QStringList{kDelete} << "1100" << "甲/乙";
        QTest::newRow("delete cancelled") << 3 << ">>> 不删" << "" << "乙/乙" << QStringList{kDelete} << "1111" << "甲/乙/丙";
        QTest::newRow("delete the only row") << 1 << "删除 >>>" << "" << "/" << QStringList{kDelete, kEmpty} << "1111" << "";
        QTest::newRow("delete in an empty table") << 0 << "删除" << "" << "" << QStringList{kDelete} << "1111" << "";
        QTest::newRow("saved elsewhere, on the last row") << 3 << ">>> >>> | >>>" << add << "乙/丙/丁" << QStringList{} << "1111" << "甲/乙/丙/丁";
        QTest::newRow("saved elsewhere into an empty table") << 0 << "| >>>" << add << "丁" << QStringList{} << "1111" << "丁";
        QTest::newRow("next row deleted elsewhere") << 3 << "| >>>" << drop.arg("乙") << "丙" << QStringList{} << "1111" << "甲/丙";
        QTest::newRow("shown row deleted elsewhere") << 3 << ">>> | <<<" << drop.arg("乙") << "乙/甲" << QStringList{} << "1111" << "甲/丙";
        QTest::newRow("last row deleted elsewhere while shown") << 3 << ">>> >>> | >>>" << drop.arg("丙") << "乙/丙/乙" << QStringList{kLast} << "1100" << "甲/乙";
        QTest::newRow("as many rows restored elsewhere, new keys") << 3 << ">>> | >>> >>>" << "UPDATE 用户信息 SET ID = ID + 100" << "乙/甲/乙" << QStringList{} << "1111" << "甲/乙/丙";
        QTest::newRow("one deleted and one saved elsewhere") << 3 << ">>> | >>> >>>" << drop.arg("甲") + ";" + add << "乙/丙/丁" << QStringList{} << "1111" << "乙/丙/丁";
        QTest::newRow("every row deleted elsewhere") << 3 << ">>> | >>> 删除" << "DELETE FROM 用户信息" << "乙//" << QStringList{kEmpty, kDelete} << "1111" << "";
    }
    void browse()
    {
        QFETCH(int, rows);
        QFETCH(QString, clicks);
        QFETCH(QString, change);
        QFETCH(QString, shown);
        QFETCH(QStringList, messages);
        QFETCH(QString, buttons);
        QFETCH(QString, left);
        store(people(rows));
        Frmzol6Form& w = frmzol6();
        QVERIFY(w.isVisible());
        const QList<Figure> chart = w.surface().drawn();
        const QStringList parts = clicks.split(QLatin1Char('|'));
        QStringList names;
        press(w, parts[0], &names);
        if (parts.size() > 1) {
            dbtest::RawConnection elsewhere(databasePath());
            for (const QString& statement : change.split(QLatin1Char(';')))
                QVERIFY(elsewhere.exec(statement));
            press(w, parts[1], &names);
        }
        QCOMPARE(names.join(QLatin1Char('/')), shown);
        QCOMPARE(dialogs->prompts(), messages);
        for (const DialogCall& c : dialogs->calls)
            QVERIFY(c.prompt == kDelete ? c.title == QStringLiteral("询问") && c.style == (vbOKCancel | vbInformation)
                                        : c.title == programTitle() && c.style == vbOKOnly);
        QString states;
        for (const QPushButton* b : {w.Command6, w.Command7, w.Command8, w.Command9})
            states += b->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        QCOMPARE(states, buttons);
        QCOMPARE(storedNames(), left);
        QCOMPARE(w.Data1->RecordCount(), left.isEmpty() ? 0 : int(left.count(QLatin1Char('/'))) + 1);
        QCOMPARE(w.surface().drawn(), chart);
    }

    // The profile: the first row's at load, kept through a move, replaced
    // by 画图; scores beyond the chart are drawn off it, and an unreadable
    // file leaves empty captions drawn on the base line.
    void profile_data()
    {
        QTest::addColumn<QString>("clicks");
        QTest::addColumn<QList<int>>("y");   // P, E, N, L
        QTest::newRow("at load") << "" << QList<int>{4200, 3840, 4560, 3480};
        QTest::newRow("moved, not drawn") << ">>>" << QList<int>{4200, 3840, 4560, 3480};
        QTest::newRow("second row drawn") << ">>> 画图" << QList<int>{6000, 1680, 4380, 6000};
        QTest::newRow("scores off the chart") << "末条 画图" << QList<int>{-353964, 6180, -1000000, 3804};
        QTest::newRow("not a database") << ">>> 画图" << QList<int>{6000, 6000, 6000, 6000};
    }
    void profile()
    {
        QFETCH(QString, clicks);
        QFETCH(QList<int>, y);
        const bool broken = QTest::currentDataTag() == QByteArray("not a database");
        if (broken)
            QVERIFY(zoltest::writeFile(databasePath(), QByteArray(4096, 'x')));
        else
            store({QStringLiteral("甲 50 60 40 70"), QStringLiteral("乙 0 120 45 -"),
                   QStringLiteral("丙 9999 -5 2147483647 61")});
        Frmzol6Form& w = frmzol6();
        press(w, clicks);
        QCOMPARE(drawnY(w), y);
        for (const Figure& f : w.surface().drawn())
            QVERIFY(f.color == QColor(255, 0, 0) && f.b.x() - f.a.x() >= 1320);
        // One error for the load and one for the move; the window stays.
        QCOMPARE(dialogs->count(), broken ? 2 : 0);
        QVERIFY(w.isVisible());
    }

    // A row without stored evaluations shows the browser's texts for its
    // scores. Only a box the user typed into reaches the file, when the
    // browser leaves the row (a move or closing), never when it prints.
    void typedTexts_data()
    {
        QTest::addColumn<int>("box");          // Text1..Text4 as 0..3; -1 none
        QTest::addColumn<QString>("leave");
        QTest::addColumn<QStringList>("stored");  // P评价..L评价 of the first row afterwards
        const QString typed = QStringLiteral("E: typed");
        QTest::newRow("nothing typed, moved on") << -1 << ">>>" << QStringList(4);
        QTest::newRow("typed, moved on") << 1 << ">>>" << QStringList{"", typed, "", ""};
        QTest::newRow("typed, closed") << 1 << "退出" << QStringList{"", typed, "", ""};
        QTest::newRow("typed, printed") << 1 << "打印" << QStringList(4);
        QTest::newRow("typed, row deleted elsewhere") << 3 << "末条" << QStringList();
    }
    void typedTexts()
    {
        QFETCH(int, box);
        QFETCH(QString, leave);
        QFETCH(QStringList, stored);
        store({QStringLiteral("戊 30 45 55 70"), people(1)[0]});
        Frmzol6Form& w = frmzol6();
        QVERIFY(w.Text1->text().startsWith(QStringLiteral("P：性情开郎")) && w.Text1->cursorPosition() == 0);
        QCOMPARE(w.Text2->text(), QStringLiteral("E：性格内倾"));
        QVERIFY(w.Text3->text().startsWith(QStringLiteral("N：情绪欠稳稳")) && w.Text4->text().startsWith(QStringLiteral("L：提示个性清高")));
        QLineEdit* boxes[4] = {w.Text1, w.Text2, w.Text3, w.Text4};
        if (box >= 0) {
            boxes[box]->clear();
            QTest::keyClicks(boxes[box], QStringLiteral("E: typed"));
        }
        if (stored.isEmpty())
            QVERIFY(dbtest::RawConnection(databasePath()).exec(QStringLiteral("DELETE FROM 用户信息 WHERE rowid = 1")));
        press(w, leave);
        const QList<QStringList> rows = dbtest::storedRows();
        if (stored.isEmpty()) {
            // The typing had no row to go to: said once, and the move went on.
            dbtest::verifyOneError(*dialogs, {QStringLiteral("姓名“戊”"), QStringLiteral("没有保存")});
            QCOMPARE(w.Label18->text(), QStringLiteral("甲"));
        } else {
            QCOMPARE(rows[0].mid(16, 4), stored);
        }
        QCOMPARE(rows.last().mid(16, 4), zoltest::items(u"1：甲|2：甲|3：甲|4：甲"));
    }

    // Typed into 乙, the last row, and then the file changes under the
    // browser: rows replaced by others with new keys (elsewhere, or by a
    // restore of this copy, which tells its windows), 乙's key taken by
    // another test in a table without the key column, or a write refused.
    // Nothing reaches another test; a row that is gone is named in one
    // message and the rows are read again; a refused closing write keeps
    // the window and the typing.
    void writesOnlyIntoTheShownRow_data()
    {
        QTest::addColumn<QStringList>("change");   // statements; first "plain": no key column
        QTest::addColumn<QString>("action");
        QTest::addColumn<QStringList>("messages");   // words of each message, '|' between them
        QTest::addColumn<QString>("left");           // 姓名 E评价 of each stored row
        QTest::addColumn<QString>("shown");          // 姓名 shown; "-" when the window is gone
        const QStringList replace = {QStringLiteral("DELETE FROM 用户信息"),
                                     QStringLiteral("INSERT INTO 用户信息 (rowid, 姓名, 编号, E评价) "
                                                    "VALUES (7, '丙', '7', '2：丙'), (8, '丁', '8', '2：丁')")};
        const QStringList reuse = {QStringLiteral("plain"), QStringLiteral("DELETE FROM 用户信息 WHERE rowid = 2"),
                                   QStringLiteral("INSERT INTO 用户信息 (姓名, 编号, E评价) VALUES ('丙', '3', '2：丙')")};
        const QStringList refuse = {QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON 用户信息 "
                                                   "BEGIN SELECT RAISE(ABORT, 'refused'); END")};
        const QString gone = QStringLiteral("姓名“乙”，编号“2”|没有保存");
        const QString replaced = QStringLiteral("丙 2：丙/丁 2：丁");
        QTest::newRow("replaced elsewhere, moved") << replace << "首条" << QStringList{gone} << replaced << "丙";
        QTest::newRow("replaced elsewhere, closed") << replace << "退出" << QStringList{"结束查询", gone} << replaced << "-";
        QTest::newRow("replaced elsewhere, deleted") << replace << "删除" << QStringList{"删除这条", "姓名“乙”|没有删除"} << replaced << "";
        QTest::newRow("restored in this copy") << replace << "restore" << QStringList{gone} << replaced << "丙";
        QTest::newRow("key reused, no key column, moved") << reuse << "首条" << QStringList{gone} << "甲 2：甲/丙 2：丙" << "甲";
        QTest::newRow("key reused, no key column, deleted") << reuse << "删除" << QStringList{"删除这条", "姓名“乙”|没有删除"} << "甲 2：甲/丙 2：丙" << "丙";
        QTest::newRow("refused, closed") << refuse << "退出" << QStringList{"结束查询", "没有保存"} << "甲 2：甲/乙 2：乙" << "乙";
        QTest::newRow("refused, close box") << refuse << "close" << QStringList{"没有保存"} << "甲 2：甲/乙 2：乙" << "乙";
    }
    void writesOnlyIntoTheShownRow()
    {
        QFETCH(QStringList, change);
        QFETCH(QString, action);
        QFETCH(QStringList, messages);
        QFETCH(QString, left);
        QFETCH(QString, shown);
        dbtest::RawConnection raw(databasePath());
        const bool plain = change.value(0) == QStringLiteral("plain");
        if (plain) {
            // A table from elsewhere: the 21 fields and SQLite's row number alone.
            QStringList columns;
            for (const QString& f : testRecordFields())
                columns << f + (f.startsWith(QStringLiteral("标准分")) ? QStringLiteral(" INTEGER") : QStringLiteral(" TEXT"));
            QVERIFY(raw.exec(QStringLiteral("CREATE TABLE 用户信息 (%1)").arg(columns.join(QLatin1Char(',')))));
            change.removeFirst();
        }
        recordstest::storeTests({QStringLiteral("甲 1 2：甲"), QStringLiteral("乙 2 2：乙")}, zoltest::items(u"姓名|编号|E评价"));
        Frmzol6Form& w = frmzol6();
        press(w, QStringLiteral("末条"));
        w.Text2->clear();
        QTest::keyClicks(w.Text2, QStringLiteral("E: typed"));
        for (const QString& statement : change)
            QVERIFY(raw.exec(statement));
        if (plain)   // the key really was reused
            QCOMPARE(raw.value(QStringLiteral("SELECT rowid FROM 用户信息 WHERE 姓名 = '丙'")).toInt(), 2);
        QPointer<Frmzol6Form> window(&w);
        if (action == QStringLiteral("restore"))
            announceDatabaseReplaced(databasePath());
        else if (action == QStringLiteral("close"))
            w.close();
        else
            press(w, action);
        zoltest::flushDeletes();

        const QStringList prompts = dialogs->prompts();
        QCOMPARE(prompts.size(), messages.size());
        for (int i = 0; i < messages.size(); ++i)
            for (const QString& word : messages[i].split(QLatin1Char('|')))
                QVERIFY2(prompts[i].contains(word), qPrintable(prompts[i]));
        QStringList stored;
        for (const QStringList& row : dbtest::storedRows())
            stored << row[0] + QLatin1Char(' ') + row[17];
        QCOMPARE(stored.join(QLatin1Char('/')), left);
        QCOMPARE(window ? window->Label18->text() : QStringLiteral("-"), shown);
        if (change.first().startsWith(QStringLiteral("CREATE TRIGGER"))) {
            // The window and the typing stay; once the file takes it, it is stored.
            QVERIFY(w.isVisible());
            QCOMPARE(w.Text2->text(), QStringLiteral("E: typed"));
            QVERIFY(raw.exec(QStringLiteral("DROP TRIGGER refuse")));
            press(w, QStringLiteral("退出"));
            QCOMPARE(dbtest::storedRows().at(1).at(17), QStringLiteral("E: typed"));
        }
    }

    // 打印 renders the shown row as displayed (a typed box as typed) into
    // frmzol9 and hides the browser; the report follows the browser's row,
    // prints to paper, and closes with the browser.
    void reportOfTheShownRow()
    {
        store(people(3));
        Frmzol6Form& w = frmzol6();
        press(w, QStringLiteral(">>>"));
        w.Text3->clear();
        QTest::keyClicks(w.Text3, QStringLiteral("N: typed"));
        press(w, QStringLiteral("打印"));
        QVERIFY(DefaultForm<Frmzol9Form>::loaded());
        QVERIFY(!w.isVisible() && frmzol9().isVisible() && !frmzol9().isShownModally());
        QCOMPARE(frmzol9().CurtPrinter1->documentCount(), 2);
        const auto page = [] {
            QString all;
            for (const PrintOp& op : frmzol9().CurtPrinter1->previewDocument().pages.at(0).ops)
                all += op.text + QLatin1Char('\n');
            return all;
        };
        QVERIFY(page().contains(QStringLiteral("姓    名：乙\n")) && page().contains(QStringLiteral("N: typed")));
        QCOMPARE(dbtest::storedRows().at(1).at(18), QStringLiteral("3：乙"));

        zoltest::PdfPrint print;
        print.pdfPath = folder->file(QStringLiteral("stored.pdf"));
        frmzol9().CurtPrinter1->actionPrint->trigger();
        QVERIFY(QFileInfo(print.pdfPath).size() > 0);

        // Closing the preview leaves the browser hidden. Shown again (as the
        // main window does), it stores the typing when it moves on, and the
        // report, printed again and still open, follows its row.
        frmzol9().CurtPrinter1->actionClose->trigger();
        zoltest::flushDeletes();
        QVERIFY(!DefaultForm<Frmzol9Form>::loaded() && !w.isVisible());
        w.Show();
        press(w, QStringLiteral(">>> 打印"));
        QVERIFY(page().contains(QStringLiteral("姓    名：丙\n")));
        QCOMPARE(dbtest::storedRows().at(1).at(18), QStringLiteral("N: typed"));
        w.Show();
        press(w, QStringLiteral("<<<"));
        emit frmzol9().CurtPrinter1->RenderRequest();
        QVERIFY(page().contains(QStringLiteral("姓    名：乙\n")));

        QPointer<Form> report(&frmzol9());
        dialogs->messageAnswers = {vbCancel, vbOK};
        press(w, QStringLiteral("退出"));
        QVERIFY(w.isVisible() && report->isVisible());
        press(w, QStringLiteral("退出"));
        zoltest::flushDeletes();
        QVERIFY(report.isNull() && loadedFormNames().isEmpty());
        QCOMPARE(dialogs->prompts(), (QStringList(2, QStringLiteral("你要结束查询吗！"))));
        QCOMPARE(dialogs->last().title, QStringLiteral("提示"));
    }
};

ZOL_TEST(BrowserTest)
#include "tst_browser.moc"
