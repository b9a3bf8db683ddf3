#include "shellsupport.h"
#include "testsupport.h"

#include "platform/database.h"
#include "platform/dbtestsupport.h"
#include "platform/dialogs.h"
#include "platform/form.h"
#include "shell/buildinfo.h"
#include "shell/frmzolmaincs.h"
#include "shell/statsgate.h"

#include <QAction>
#include <QFile>
#include <QTest>
#include <memory>

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

} // namespace

class StatisticsGateTest : public ShellTestBase {
    Q_OBJECT
private:
    QList<StatsGroup> opened;

    QAction* command(StatsGroup group)
    {
        FrmzolmaincsForm& m = frmzolmaincs();
        return group == StatsGroup::All ? m.exampl : group == StatsGroup::Men ? m.adverg : m.sd;
    }

    // Runs the command; true when it opened its window, otherwise its one
    // message was shown.
    bool choose(StatsGroup group, const QString& message)
    {
        dialogs->clear();
        opened.clear();
        command(group)->trigger();
        if (!opened.isEmpty()) {
            [&] {
                QCOMPARE(opened, QList<StatsGroup>{group});
                QCOMPARE(dialogs->count(), 0);
            }();
            return true;
        }
        [&] {
            QCOMPARE(dialogs->count(), 1);
            QCOMPARE(dialogs->last().prompt, message);
            QCOMPARE(dialogs->last().style, int(vbOKOnly));
            QCOMPARE(dialogs->last().title, build::programTitle());
        }();
        return false;
    }

    void verifyBroken(const QString& name)
    {
        for (QAction* a : {frmzolmaincs().exampl, frmzolmaincs().adverg, frmzolmaincs().sd}) {
            dialogs->clear();
            a->trigger();
            QVERIFY(opened.isEmpty());
            dbtest::verifyOneError(*dialogs);
            QVERIFY2(dialogs->last().style & vbCritical, qPrintable(name));
        }
        QVERIFY(DefaultForm<FrmzolmaincsForm>::loaded());
    }

private slots:
    void initTestCase() { setProgramTitle(build::programTitle()); }
    void init()
    {
        startServices();
        opened.clear();
        setStatisticsWindowObserver([this](StatsGroup g) { opened << g; });
    }
    void cleanup()
    {
        setStatisticsWindowObserver({});
        stopServices();
    }

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
        QCOMPARE(Form::loadedFormNames(), QStringList{QStringLiteral("frmzolmaincs")});
        QCOMPARE(dbtest::rowCount(), men + women + others);
    }

    void missingDatabaseIsNotCreated()
    {
        verifyBroken(QStringLiteral("missing"));
        QVERIFY(!QFile::exists(databasePath()));
    }

    void fileThatIsNotADatabase()
    {
        const QByteArray bytes("Standard Jet DB\0 not really", 27);
        {
            QFile f(databasePath());
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        }
        verifyBroken(QStringLiteral("not a database"));
        QCOMPARE(dbtest::fileBytes(databasePath()), bytes);
    }

    void databaseWithoutTheTable()
    {
        {
            dbtest::RawConnection raw(databasePath());
            QSqlQuery(raw.db).exec(QStringLiteral("CREATE TABLE other (x INTEGER)"));
        }
        const QByteArray before = dbtest::fileBytes(databasePath());
        QVERIFY(!before.isEmpty());
        verifyBroken(QStringLiteral("no table"));
        QCOMPARE(dbtest::fileBytes(databasePath()), before);
    }

    // Every command runs all three counts: a table without the sex column
    // fails even the count of all tests, with one message.
    void tableWithoutTheSexColumn()
    {
        {
            dbtest::RawConnection raw(databasePath());
            QSqlQuery(raw.db).exec(QStringLiteral("CREATE TABLE 用户信息 (姓名 TEXT)"));
            QSqlQuery(raw.db).exec(QStringLiteral("INSERT INTO 用户信息 VALUES ('a'), ('b')"));
        }
        const QByteArray before = dbtest::fileBytes(databasePath());
        verifyBroken(QStringLiteral("no sex column"));
        QCOMPARE(dbtest::fileBytes(databasePath()), before);
    }
};

ZOL_TEST(StatisticsGateTest)
#include "tst_statsgate.moc"
