// The statistics windows: counts, means and sample deviations of the stored
// tests, cut to the cells' widths, and their prints.
#include "recordstest.h"

#include "records/statswindows.h"

#include <QFileInfo>
#include <QLabel>

using namespace zol;
using namespace recordstest;

namespace {

// Three men, four women (one without scores), one test without a sex.
const QStringList kTests = {
    QStringLiteral("a 男 45 60 40 55"), QStringLiteral("b 男 50 55 45 50"),
    QStringLiteral("c 男 35 70 65 40"), QStringLiteral("d 女 40 65 60 45"),
    QStringLiteral("e 女 60 40 55 60"), QStringLiteral("f 女 55 50 50 35"),
    QStringLiteral("g 女 - - - -"),     QStringLiteral("h - 50 50 50 50"),
};

StatisticsWindowForm& window(StatsGroup group)
{
    if (group == StatsGroup::All)
        return frmzol10();
    if (group == StatsGroup::Men)
        return frmzol16();
    return frmzol15();
}

} // namespace

class StatisticsTest : public zoltest::WindowFixture {
    Q_OBJECT
private slots:
    void init() { startWindows(); }
    void cleanup() { stopWindows(); }

    // The text of a value: plain decimals, then only the cell's characters.
    void valueText_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("chars");
        QTest::addColumn<QString>("text");
        QTest::newRow("mean 48.333...") << QVariant(145.0 / 3) << 5 << "48.33";
        QTest::newRow("mean 48.339") << QVariant(48.339) << 5 << "48.33";
        QTest::newRow("mean below 10") << QVariant(9.87654) << 5 << "9.876";
        QTest::newRow("whole mean") << QVariant(50.0) << 5 << "50";
        QTest::newRow("deviation 10.1234567") << QVariant(10.1234567) << 6 << "10.123";
        QTest::newRow("deviation below 10") << QVariant(9.87654321) << 6 << "9.8765";
        QTest::newRow("count") << QVariant(qlonglong(12)) << 5 << "12";
        QTest::newRow("six-digit count") << QVariant(qlonglong(123456)) << 5 << "12345";
        QTest::newRow("no value") << QVariant(QMetaType(QMetaType::Double)) << 6 << "";
    }
    void valueText()
    {
        QFETCH(QVariant, value);
        QFETCH(int, chars);
        QFETCH(QString, text);
        QCOMPARE(statisticsText(value, chars), text);
    }

    // Each window against figures worked out by hand for the stored tests;
    // a statistic without a value leaves its cell empty and the window opens.
    void windowFigures_data()
    {
        QTest::addColumn<QStringList>("tests");
        QTest::addColumn<int>("group");
        QTest::addColumn<QString>("cells");
        QTest::newRow("all") << kTests << int(StatsGroup::All)
                             << "Label3=8 Label6=3 Label9=3 Label17=47.85 Label18=8.5912 "
                                "Label19=55.71 Label20=10.177 Label21=52.14 Label22=8.5912 "
                                "Label23=47.85 Label24=8.5912";
        QTest::newRow("men") << kTests << int(StatsGroup::Men)
                             << "Label6=3 Label17=43.33 Label18=7.6376 Label19=61.66 "
                                "Label20=7.6376 Label21=50 Label22=13.228 Label23=48.33 "
                                "Label24=7.6376";
        // The women's count includes the test without scores.
        QTest::newRow("women") << kTests << int(StatsGroup::Women)
                               << "Label9=4 Label17=51.66 Label18=10.408 Label19=51.66 "
                                  "Label20=12.583 Label21=55 Label22=5 Label23=46.66 "
                                  "Label24=12.583";
        QTest::newRow("no scores at all")
            << QStringList{"a 男 - - - -", "b 男 - - - -"} << int(StatsGroup::Men)
            << "Label6=0 Label17= Label18= Label19= Label20= Label21= Label22= Label23= Label24=";
        QTest::newRow("one score each")
            << QStringList{"a 女 40 - 60 -", "b 女 - 55 - 35"} << int(StatsGroup::Women)
            << "Label9=2 Label17=40 Label18= Label19=55 Label20= Label21=60 Label22= Label23=35 "
               "Label24=";
    }
    void windowFigures()
    {
        QFETCH(QStringList, tests);
        QFETCH(int, group);
        QFETCH(QString, cells);
        storeTests(tests);
        StatisticsWindowForm& w = window(StatsGroup(group));
        w.Show();
        QCOMPARE(w.cells(), cellMap(cells));
        QCOMPARE(dialogs->count(), 0);
        QVERIFY(w.isVisible());
    }

    // A print shows what its window shows, also after the data changed and
    // the window was opened again; the layout itself is never shown.
    void printFollowsWindow_data()
    {
        QTest::addColumn<int>("group");
        QTest::addColumn<QString>("layout");
        QTest::newRow("all") << int(StatsGroup::All) << "frmzol12";
        QTest::newRow("men") << int(StatsGroup::Men) << "frmzol18";
        QTest::newRow("women") << int(StatsGroup::Women) << "frmzol17";
    }
    void printFollowsWindow()
    {
        QFETCH(int, group);
        QFETCH(QString, layout);
        zoltest::PdfPrint print;
        storeTests(kTests);
        for (const QString& more : {QString(), QStringLiteral("i 男 80 80 80 80")}) {
            if (!more.isEmpty()) {
                window(StatsGroup(group)).Command2_Click();
                storeTests({more, QStringLiteral("j 女 20 20 20 20")});
            }
            StatisticsWindowForm& w = window(StatsGroup(group));
            print.pdfPath = folder->file(layout + more.left(1) + QStringLiteral(".pdf"));
            w.Command1_Click();
            QVERIFY(QFileInfo(print.pdfPath).size() > 0);
            auto* sheet = static_cast<StatisticsForm*>(findLoaded(layout));
            QVERIFY(sheet);
            QVERIFY(!sheet->isVisible());
            QCOMPARE(sheet->cells(), w.cells());
        }
        QCOMPARE(print.asked, 2);
        QVERIFY(print.offered.title.contains(QStringLiteral("统计")));
        QCOMPARE(dialogs->count(), 0);
    }
};

ZOL_TEST(StatisticsTest)
#include "tst_statistics.moc"
