// The stored-test browser: moves with their messages and button states,
// deletion, the profile, what reaches the file, rows changed elsewhere,
// and the report of the shown row.
#include "recordstest.h"

#include "platform/database.h"
#include "platform/datacontrol.h"
#include "platform/dbtestsupport.h"
#include "records/frmzol6.h"
#include "reports/reportwindows.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using namespace zol;

namespace {

const QString kEmpty = QStringLiteral("数据库中的记录为空!");
const QString kFirst = QStringLiteral("已经到了第一条记录!");
const QString kLast = QStringLiteral("已经到了最后一条记录!");

// One test per text "name P E N L P评价 E评价 N评价 L评价"; "-" or a
// missing field stays empty.
void store(const QStringList& tests)
{
    recordstest::storeTests(tests, zoltest::items(u"姓名|标准分P|标准分E|标准分N|标准分L|P评价|E评价|N评价|L评价"));
}

// The first n of 甲, 乙, 丙, 丁, with evaluation texts of their own.
QStringList people(int n)
{
    const QStringList all = zoltest::items(u"甲|乙|丙|丁");
    QStringList rows;
    for (int i = 0; i < n; ++i)
        rows << all[i] + QStringLiteral(" 50 50 50 50 1：%1 2：%1 3：%1 4：%1").arg(all[i]);
    return rows;
}

void changeElsewhere(const QString& sql)
{
    dbtest::RawConnection raw(databasePath());
    QVERIFY(raw.exec(sql));
}

// Clicks the browser's buttons named by their captions, blanks left out.
void press(Frmzol6Form& w, const QString& buttons)
{
    const QMap<QString, QPushButton*> byName = {
        {QStringLiteral("首条"), w.Command6}, {QStringLiteral("<<<"), w.Command7},
        {QStringLiteral(">>>"), w.Command8},  {QStringLiteral("末条"), w.Command9},
        {QStringLiteral("删除"), w.Command1}, {QStringLiteral("画图"), w.Command4},
        {QStringLiteral("打印"), w.Command3}, {QStringLiteral("退出"), w.Command2}};
    for (const QString& b : buttons.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        QVERIFY2(byName.contains(b), qPrintable(b));
        QTest::mouseClick(byName[b], Qt::LeftButton);
    }
}

// 首条, <<<, >>>, 末条 as 1 (enabled) and 0.
QString buttonStates(const Frmzol6Form& w)
{
    QString s;
    for (const QPushButton* b : {w.Command6, w.Command7, w.Command8, w.Command9})
        s += b->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
    return s;
}

QList<int> drawnY(Frmzol6Form& w)
{
    QList<int> y;
    for (const Figure& f : w.surface().drawn())
        y << f.a.y();
    if (!w.surface().drawn().isEmpty())
        y << w.surface().drawn().last().b.y();
    return y;
}

QStringList storedNames()
{
    QStringList names;
    for (const QStringList& row : dbtest::storedRows())
        names << row[0];
    return names;
}

} // namespace

class BrowserTest : public zoltest::WindowFixture {
    Q_OBJECT
private slots:
    void init() { startWindows(); }
    void cleanup() { stopWindows(); }

    // The band that chooses a browser text, and the chart's y of a score.
    void rules_data()
    {
        QTest::addColumn<double>("score");
        QTest::addColumn<int>("band");
        QTest::addColumn<int>("y");
        QTest::newRow("0") << 0.0 << 1 << 6000;
        QTest::newRow("38") << 38.0 << 1 << 4632;
        QTest::newRow("38.5") << 38.5 << 2 << 4614;
        QTest::newRow("49") << 49.0 << 2 << 4236;
        QTest::newRow("50") << 50.0 << 3 << 4200;
        QTest::newRow("61") << 61.0 << 3 << 3804;
        QTest::newRow("61.5") << 61.5 << 4 << 3786;
        QTest::newRow("62") << 62.0 << 4 << 3768;
        QTest::newRow("120") << 120.0 << 4 << 1680;
        QTest::newRow("-5") << -5.0 << 1 << 6180;
        QTest::newRow("far above") << 1e300 << 4 << -1000000;
        QTest::newRow("far below") << -1e300 << 1 << 1000000;
    }
    void rules()
    {
        QFETCH(double, score);
        QFETCH(int, band);
        QFETCH(int, y);
        QCOMPARE(browserBand(score), band);
        QCOMPARE(browserChartY(score), y);
    }

    // Moves from the first row with the messages at either end, the shown
    // row after each click and the four navigation buttons at the end.
    void navigation_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("clicks");
        QTest::addColumn<QString>("shown");      // name after each click, '/' between
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("buttons");    // 首条 <<< >>> 末条
        QTest::newRow("on to the end") << 3 << ">>> >>> >>>" << "乙/丙/丙" << QStringList{kLast} << "1100";
        QTest::newRow("back at the start") << 3 << "<<<" << "甲" << QStringList{kFirst} << "0011";
        QTest::newRow("last, first, first again") << 3 << "末条 首条 首条" << "丙/甲/甲" << QStringList{}
                                                  << "0011";
        QTest::newRow("first, next, previous") << 3 << "首条 >>> <<<" << "甲/乙/甲" << QStringList{} << "1111";
        QTest::newRow("last, previous") << 3 << "末条 <<<" << "丙/乙" << QStringList{} << "1111";
        QTest::newRow("one row") << 1 << ">>> <<<" << "甲/甲" << QStringList{kLast, kFirst} << "0011";
        QTest::newRow("empty table") << 0 << "首条 <<< >>> 末条" << "///" << QStringList(4, kEmpty) << "1111";
    }
    void navigation()
    {
        QFETCH(int, rows);
        QFETCH(QString, clicks);
        QFETCH(QString, shown);
        QFETCH(QStringList, messages);
        QFETCH(QString, buttons);
        store(people(rows));
        Frmzol6Form& w = frmzol6();
        QVERIFY(w.isVisible());
        QCOMPARE(w.Label18->text(), rows ? QStringLiteral("甲") : QString());
        QCOMPARE(buttonStates(w), QStringLiteral("1111"));
        QStringList names;
        for (const QString& c : clicks.split(QLatin1Char(' '))) {
            press(w, c);
            names << w.Label18->text();
            QCOMPARE(w.Text1->text(), rows ? QStringLiteral("1：") + w.Label18->text() : QString());
        }
        QCOMPARE(names.join(QLatin1Char('/')), shown);
        QCOMPARE(dialogs->prompts(), messages);
        for (const DialogCall& c : dialogs->calls)
            QVERIFY(c.title == programTitle() && c.style == vbOKOnly);
        QCOMPARE(buttonStates(w), buttons);
    }

    // Delete asks first; it removes the shown row and shows the first row
    // read again; the buttons and the chart stay.
    void deleteRow_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("clicks");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("left");    // stored names, '/' between
        QTest::addColumn<QString>("shown");
        QTest::newRow("middle row") << 3 << ">>>" << int(vbOK) << "甲/丙" << "甲";
        QTest::newRow("last row") << 3 << "末条" << int(vbOK) << "甲/乙" << "甲";
        QTest::newRow("first row") << 3 << "" << int(vbOK) << "乙/丙" << "乙";
        QTest::newRow("cancelled") << 3 << ">>>" << int(vbCancel) << "甲/乙/丙" << "乙";
        QTest::newRow("the only row") << 1 << "" << int(vbOK) << "" << "";
        QTest::newRow("empty table") << 0 << "" << int(vbOK) << "" << "";
    }
    void deleteRow()
    {
        QFETCH(int, rows);
        QFETCH(QString, clicks);
        QFETCH(int, answer);
        QFETCH(QString, left);
        QFETCH(QString, shown);
        store(people(rows));
        Frmzol6Form& w = frmzol6();
        press(w, clicks);
        const QString buttons = buttonStates(w);
        const QList<Figure> chart = w.surface().drawn();
        dialogs->clear();
        dialogs->messageAnswers = {answer};
        press(w, QStringLiteral("删除"));
        zoltest::verifyOneMessage(*dialogs, QStringLiteral("你真要删除这条记录吗？"), QStringLiteral("询问"),
                                  vbOKCancel | vbInformation);
        QCOMPARE(storedNames().join(QLatin1Char('/')), left);
        QCOMPARE(w.Label18->text(), shown);
        QCOMPARE(w.Data1->RecordCount(), int(storedNames().size()));
        QCOMPARE(buttonStates(w), buttons);
        QCOMPARE(w.surface().drawn(), chart);
    }

    // The profile: drawn from the first row at load, kept through a move,
    // replaced by 画图; a score beyond the chart is drawn off it, whole.
    void profile_data()
    {
        QTest::addColumn<QString>("clicks");
        QTest::addColumn<QList<int>>("y");   // P, E, N, L
        QTest::newRow("at load") << "" << QList<int>{4200, 3840, 4560, 3480};
        QTest::newRow("moved, not drawn") << ">>>" << QList<int>{4200, 3840, 4560, 3480};
        QTest::newRow("second row drawn") << ">>> 画图" << QList<int>{6000, 1680, 4380, 6000};
        QTest::newRow("scores off the chart") << "末条 画图" << QList<int>{-353964, 6180, -1000000, 3804};
    }
    void profile()
    {
        QFETCH(QString, clicks);
        QFETCH(QList<int>, y);
        store({QStringLiteral("甲 50 60 40 70"), QStringLiteral("乙 0 120 45 -"),
               QStringLiteral("丙 9999 -5 2147483647 61")});
        Frmzol6Form& w = frmzol6();
        const int fixed = w.surface().staticFigures().size();
        press(w, clicks);
        QCOMPARE(drawnY(w), y);
        const int x[4] = {1440, 2760, 4080, 5520};
        for (int i = 0; i < 3; ++i) {
            const Figure& f = w.surface().drawn().at(i);
            QVERIFY(f.a.x() == x[i] && f.b.x() == x[i + 1] && f.color == QColor(255, 0, 0));
        }
        QCOMPARE(w.surface().staticFigures().size(), fixed);
        QCOMPARE(dialogs->prompts(), QStringList());
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
        QTest::newRow("typed, deleted elsewhere first") << 3 << "末条" << QStringList(4);
    }
    void typedTexts()
    {
        QFETCH(int, box);
        QFETCH(QString, leave);
        QFETCH(QStringList, stored);
        store({QStringLiteral("戊 30 45 55 70"), people(1)[0]});
        Frmzol6Form& w = frmzol6();
        QLineEdit* boxes[4] = {w.Text1, w.Text2, w.Text3, w.Text4};
        QVERIFY(w.Text1->text().startsWith(QStringLiteral("P：性情开郎，关心他人，富有同情心")));
        QCOMPARE(w.Text1->cursorPosition(), 0);   // shown from its beginning
        QCOMPARE(w.Text2->text(), QStringLiteral("E：性格内倾"));
        QVERIFY(w.Text3->text().startsWith(QStringLiteral("N：情绪欠稳稳")));
        QVERIFY(w.Text4->text().startsWith(QStringLiteral("L：提示个性清高")));
        if (box >= 0) {
            boxes[box]->clear();
            QTest::keyClicks(boxes[box], QStringLiteral("E: typed"));
        }
        const bool gone = QTest::currentDataTag() == QByteArray("typed, deleted elsewhere first");
        if (gone)
            changeElsewhere(QStringLiteral("DELETE FROM 用户信息 WHERE 姓名 = '戊'"));
        press(w, leave);
        const QList<QStringList> rows = dbtest::storedRows();
        QCOMPARE(rows.size(), gone ? 1 : 2);
        if (gone) {
            // The typing had no row left to go to; it was said, and the move went on.
            dbtest::verifyOneError(*dialogs, {QStringLiteral("已经没有这条记录")});
            QCOMPARE(w.Label18->text(), QStringLiteral("甲"));
        } else {
            QCOMPARE(rows[0].mid(16, 4), stored);
        }
        // The row the browser went on to keeps its own texts.
        QCOMPARE(rows.last().mid(16, 4), zoltest::items(u"1：甲|2：甲|3：甲|4：甲"));
    }

    // A count that differs from the rows held makes the browser read them
    // again, keeping its place, before it moves.
    void rowsChangedElsewhere_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QStringList>("messages");
        const QString add = QStringLiteral("INSERT INTO 用户信息 (姓名) VALUES ('丁')");
        QTest::newRow("saved while on the last row") << 3 << ">>> >>>" << add << ">>>" << "丁" << QStringList{};
        QTest::newRow("saved into an empty table") << 0 << "" << add << ">>>" << "丁" << QStringList{};
        QTest::newRow("next row deleted") << 3 << "" << "DELETE FROM 用户信息 WHERE 姓名 = '乙'" << ">>>"
                                          << "丙" << QStringList{};
        QTest::newRow("shown row deleted, next") << 3 << ">>>" << "DELETE FROM 用户信息 WHERE 姓名 = '乙'"
                                                 << ">>>" << "丙" << QStringList{};
        QTest::newRow("shown row deleted, previous") << 3 << ">>>" << "DELETE FROM 用户信息 WHERE 姓名 = '乙'"
                                                     << "<<<" << "甲" << QStringList{};
        QTest::newRow("last row deleted while shown") << 3 << ">>> >>>" << "DELETE FROM 用户信息 WHERE 姓名 = '丙'"
                                                      << ">>>" << "乙" << QStringList{kLast};
        QTest::newRow("every row deleted") << 3 << ">>>" << "DELETE FROM 用户信息" << ">>> 首条 删除"
                                           << "" << QStringList{kEmpty, kEmpty, QStringLiteral("你真要删除这条记录吗？")};
    }
    void rowsChangedElsewhere()
    {
        QFETCH(int, rows);
        QFETCH(QString, before);
        QFETCH(QString, change);
        QFETCH(QString, after);
        QFETCH(QString, shown);
        QFETCH(QStringList, messages);
        store(people(rows));
        Frmzol6Form& w = frmzol6();
        press(w, before);
        changeElsewhere(change);
        press(w, after);
        QCOMPARE(dialogs->prompts(), messages);
        QCOMPARE(w.Label18->text(), shown);
        QCOMPARE(w.Data1->RecordCount(), int(storedNames().size()));
    }

    // A file that is not a database: one message at load, one for each
    // command that reads; the window stays usable and empty.
    void unreadableFile()
    {
        QVERIFY(zoltest::writeFile(databasePath(), QByteArray(4096, 'x')));
        Frmzol6Form& w = frmzol6();
        QCOMPARE(dialogs->count(), 1);
        QCOMPARE(dialogs->last().title, QStringLiteral("出错信息"));
        QVERIFY(w.isVisible() && w.Label18->text().isEmpty());
        press(w, QStringLiteral(">>> 删除 画图"));
        QCOMPARE(dialogs->count(), 3);   // the move's error and the delete question
        QCOMPARE(drawnY(w), (QList<int>{6000, 6000, 6000, 6000}));
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
        QTest::keyClicks(w.Text3, QStringLiteral("N: typed, not saved"));
        press(w, QStringLiteral("打印"));
        QVERIFY(DefaultForm<Frmzol9Form>::loaded());
        Frmzol9Form& report = frmzol9();
        QVERIFY(!w.isVisible() && report.isVisible() && !report.isShownModally());
        const CurtPrinter& p = *report.CurtPrinter1;
        QCOMPARE(p.documentCount(), 2);
        auto pageText = [] {
            QString all;
            for (const PrintOp& op : frmzol9().CurtPrinter1->previewDocument().pages.at(0).ops)
                all += op.text + QLatin1Char('\n');
            return all;
        };
        QVERIFY(pageText().contains(QStringLiteral("姓    名：乙\n")));
        QVERIFY(pageText().contains(QStringLiteral("N: typed, not saved")));
        QCOMPARE(dbtest::storedRows().at(1).at(18), QStringLiteral("3：乙"));

        zoltest::PdfPrint print;
        print.pdfPath = folder->file(QStringLiteral("stored.pdf"));
        report.CurtPrinter1->actionPrint->trigger();
        QCOMPARE(p.document().target, 1);
        QCOMPARE(p.document().pages, p.previewDocument().pages);
        QVERIFY(QFileInfo(print.pdfPath).size() > 0);

        // Closing the preview leaves the browser hidden. Shown again (as the
        // main window does) and moved on, it stores the typing it left
        // behind and prints the row it moved to.
        report.CurtPrinter1->actionClose->trigger();
        zoltest::flushDeletes();
        QVERIFY(!DefaultForm<Frmzol9Form>::loaded() && !w.isVisible());
        w.Show();
        press(w, QStringLiteral(">>> 打印"));
        QVERIFY(pageText().contains(QStringLiteral("姓    名：丙\n")));
        QCOMPARE(dbtest::storedRows().at(1).at(18), QStringLiteral("N: typed, not saved"));

        // With the report still open, the browser moves: the next render
        // prints the row it moved to.
        QPointer<Form> shownReport(&frmzol9());
        w.Show();
        press(w, QStringLiteral("<<<"));
        emit frmzol9().CurtPrinter1->RenderRequest();
        QVERIFY(pageText().contains(QStringLiteral("姓    名：乙\n")));
        dialogs->messageAnswers = {vbCancel, vbOK};
        press(w, QStringLiteral("退出"));
        QVERIFY(w.isVisible() && shownReport->isVisible());
        press(w, QStringLiteral("退出"));
        zoltest::flushDeletes();
        QVERIFY(shownReport.isNull());
        QCOMPARE(Form::loadedFormNames(), QStringList());
        QCOMPARE(dialogs->prompts(), (QStringList(2, QStringLiteral("你要结束查询吗！"))));
        QCOMPARE(dialogs->last().title, QStringLiteral("提示"));
    }
};

ZOL_TEST(BrowserTest)
#include "tst_browser.moc"
