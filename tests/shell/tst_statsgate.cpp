// The three statistics commands open their window only for enough stored tests.
#include "shellsupport.h"

#include "platform/dbtestsupport.h"
#include "platform/buildinfo.h"
#include "shell/statsgate.h"

#include <QAction>
#include <QFile>
#include <QTest>

using namespace zol;
using namespace shelltest;

namespace {

const QString kAllMessage = QStringLiteral("数据库中的记录总数必须多于2人才能进行统计分析!");
const QString kMenMessage = QStringLiteral("数据库中的男性记录必须多于2人才能进行统计分析!");
const QString kWomenMessage = QStringLiteral("数据库中的女性记录必须多于2人才能进行统计分析!");

// Stores tests with the given sexes in a new zol.mdb.
void storeTests(const QStringList& sexes)
{
    auto db = Database::OpenDatabase();
    QVERIFY(db);
    for (const QString& sex : sexes)
        QVERIFY(db->InsertRow(testRecordTable(), {{QStringLiteral("姓名"), QStringLiteral("某人")},
                                                  {QStringLiteral("性别"), sex}}));
}

// The statistics windows that are loaded.
QStringList statisticsWindows()
{
    QStringList names = loadedFormNames();
    names.removeAll(QStringLiteral("frmzolmaincs"));
    return names;
}

} // namespace

class StatisticsGateTest : public ShellTestBase {
    Q_OBJECT
private:
    QAction* command(StatsGroup group)
    {
        FrmzolmaincsForm& m = frmzolmaincs();
        return group == StatsGroup::All ? m.exampl : group == StatsGroup::Men ? m.adverg : m.sd;
    }

    // Runs the command; true when it opened its window, otherwise its one
    // message was shown.
    bool choose(StatsGroup group, const QString& message)
    {
        static const char* const windows[] = {"frmzol10", "frmzol16", "frmzol15"};
        dialogs->clear();
        command(group)->trigger();
        const QStringList opened = statisticsWindows();
        if (!opened.isEmpty()) {
            [&] {
                QCOMPARE(opened, QStringList{QString::fromLatin1(windows[int(group)])});
                QCOMPARE(dialogs->count(), 0);
            }();
            findLoaded(opened.first())->Unload();
            return true;
        }
        zoltest::verifyOneMessage(*dialogs, message, build::programTitle(), vbOKOnly);
        return false;
    }

private slots:
    void initTestCase() { setProgramTitle(build::programTitle()); }
    void init() { startServices(); }
    void cleanup() { stopServices(); }

    // 0, 1 and 2 stored tests of each sex: a group of 2 opens its window,
    // a smaller one shows its message.
    void gateByGroupSize_data()
    {
        QTest::addColumn<int>("men");
        QTest::addColumn<int>("women");
        QTest::addColumn<int>("others");  // rows whose sex is neither text
        for (int men = 0; men <= 2; ++men)
            for (int women = 0; women <= 2; ++women)
                QTest::addRow("men %d, women %d", men, women) << men << women << 0;
        QTest::newRow("men 1, no sex given 1") << 1 << 0 << 1;
    }
    void gateByGroupSize()
    {
        QFETCH(int, men);
        QFETCH(int, women);
        QFETCH(int, others);
        storeTests(QStringList(men, QStringLiteral("男")) + QStringList(women, QStringLiteral("女"))
                   + QStringList(others, QString()));
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(choose(StatsGroup::All, kAllMessage), men + women + others >= 2);
        QCOMPARE(choose(StatsGroup::Men, kMenMessage), men >= 2);
        QCOMPARE(choose(StatsGroup::Women, kWomenMessage), women >= 2);
        // Nothing else was loaded, and the file was only read.
        QCOMPARE(loadedFormNames(), QStringList{QStringLiteral("frmzolmaincs")});
        QCOMPARE(dbtest::rowCount(), men + women + others);
    }

    // A database that cannot be counted: every command shows one error
    // box, opens nothing, and neither creates nor changes the file. Every
    // command runs all three counts, so a table without the sex column fails
    // even the count of all tests.
    void unreadableDatabase_data()
    {
        QTest::addColumn<QByteArray>("bytes");   // the file's content, or
        QTest::addColumn<QStringList>("sql");    // statements that make it
        QTest::newRow("missing") << QByteArray() << QStringList();
        QTest::newRow("not a database") << QByteArray("Standard Jet DB\0 not really", 27) << QStringList();
        QTest::newRow("no table") << QByteArray() << QStringList{"CREATE TABLE other (x INTEGER)"};
        QTest::newRow("no sex column")
            << QByteArray()
            << QStringList{QStringLiteral("CREATE TABLE 用户信息 (姓名 TEXT)"),
                           QStringLiteral("INSERT INTO 用户信息 VALUES ('a'), ('b')")};
    }
    void unreadableDatabase()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, sql);
        if (!bytes.isEmpty())
            QVERIFY(zoltest::writeFile(databasePath(), bytes));
        if (!sql.isEmpty()) {
            dbtest::RawConnection raw(databasePath());
            for (const QString& statement : sql)
                QVERIFY(raw.exec(statement));
        }
        const QByteArray before = dbtest::fileBytes(databasePath());
        QCOMPARE(before.isEmpty(), bytes.isEmpty() && sql.isEmpty());

        for (QAction* a : {frmzolmaincs().exampl, frmzolmaincs().adverg, frmzolmaincs().sd}) {
            dialogs->clear();
            a->trigger();
            QVERIFY(statisticsWindows().isEmpty());
            dbtest::verifyOneError(*dialogs);
            QVERIFY(dialogs->last().style & vbCritical);
        }
        QVERIFY(mainLoaded());
        if (before.isEmpty())
            QVERIFY(!QFile::exists(databasePath()));
        else
            QCOMPARE(dbtest::fileBytes(databasePath()), before);
    }
};

ZOL_TEST(StatisticsGateTest)
#include "tst_statsgate.moc"
