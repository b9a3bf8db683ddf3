#include "dbtestsupport.h"
#include "testsupport.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>

using namespace zol;
using namespace dbtest;

// Opening the file: created when missing, kept as it is when present.
class DatabaseFileTest : public QObject {
    Q_OBJECT
private slots:
    void createsTheFileAndTableWhenMissing()
    {
        zoltest::TempProgramFolder folder;
        ScriptedDialogs dialogs;
        QVERIFY(!QFile::exists(databasePath()));
        {
            const auto db = Database::OpenDatabase();
            QVERIFY(db);
            const Recordset rs = db->OpenRecordset(QStringLiteral("SELECT * FROM 用户信息"));
            QVERIFY(rs.isValid());
            // The names every reader and writer uses, 粗份P included; the key is hidden.
            const QStringList names = QStringLiteral(
                "姓名 性别 年龄 文化 民族 职业 编号 来源 粗份P 粗分E 粗分N 粗分L "
                "标准分P 标准分E 标准分N 标准分L P评价 E评价 N评价 L评价 测试日期").split(QLatin1Char(' '));
            QCOMPARE(rs.fieldNames(), names);
            QCOMPARE(testRecordFields(), names);
            QVERIFY(rs.hasField(QStringLiteral("ID")));
            QVERIFY(rs.isBOF() && rs.isEOF());
        }
        QVERIFY(QFile::exists(databasePath()));
        QCOMPARE(rowCount(), 0);
        QCOMPARE(dialogs.count(), 0);
    }

    void reopensAnExistingFileAsItIs()
    {
        zoltest::TempProgramFolder folder;
        ScriptedDialogs dialogs;
        QVERIFY(SaveForm().save(sampleRecord(QStringLiteral("张三"))));
        const QByteArray before = fileBytes(databasePath());
        QVERIFY(Database::OpenDatabase());
        QCOMPARE(fileBytes(databasePath()), before);
        QCOMPARE(rowCount(), 1);
        QCOMPARE(dialogs.count(), 0);
    }

    void anEmptyFileGetsTheTable()
    {
        zoltest::TempProgramFolder folder;
        ScriptedDialogs dialogs;
        QFile f(databasePath());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        QCOMPARE(rowCount(), 0);
        QCOMPARE(dialogs.count(), 0);
    }

    void releasesItsConnections()
    {
        zoltest::TempProgramFolder folder;
        const int before = QSqlDatabase::connectionNames().size();
        for (int i = 0; i < 3; ++i)
            QCOMPARE(rowCount(), 0);
        QCOMPARE(QSqlDatabase::connectionNames().size(), before);
    }
};

// Queries as the windows write them.
class RecordsetTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        folder_ = std::make_unique<zoltest::TempProgramFolder>();
        SaveForm form;
        int n = 0;
        for (const QString& name : {QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("丙")})
            QVERIFY(form.save(sampleRecord(name, ++n)));
    }
    void cleanup() { folder_.reset(); }

    void countQueryRunsAsWritten()
    {
        const auto db = Database::OpenDatabase();
        const Recordset rs = db->OpenRecordset(QStringLiteral("SELECT count(*) AS [mz1] FROM 用户信息;"));
        QVERIFY(rs.isValid());
        QCOMPARE(rs.Fields(QStringLiteral("mz1")).toInt(), 3);
        QCOMPARE(rs.Fields(QStringLiteral("MZ1")).toInt(), 3);
        QCOMPARE(db->OpenRecordset(QStringLiteral("SELECT count(*) AS [mz1] FROM 用户信息 WHERE 性别='女';"))
                     .Fields(QStringLiteral("mz1")).toInt(), 0);
    }

    void fieldNamesMatchWithoutCase()
    {
        const auto db = Database::OpenDatabase();
        const Recordset rs = db->OpenRecordset(QStringLiteral("SELECT * FROM 用户信息 ORDER BY ID"));
        QCOMPARE(rs.Fields(QStringLiteral("标准分p")).toInt(), 55);
        QCOMPARE(rs.Fields(QStringLiteral("粗份p")).toInt(), 12);
        QVERIFY(!rs.Fields(QStringLiteral("粗分P")).isValid());
        const Recordset avg = db->OpenRecordset(QStringLiteral("SELECT avg(标准分p) AS m FROM 用户信息"));
        QCOMPARE(avg.Fields(QStringLiteral("m")).toDouble(), 55.0);
    }

    void movesStopAtBothEnds()
    {
        const auto db = Database::OpenDatabase();
        Recordset rs = db->OpenRecordset(QStringLiteral("SELECT * FROM 用户信息 ORDER BY ID"));
        QCOMPARE(rs.RecordCount(), 3);
        QVERIFY(!rs.isBOF() && !rs.isEOF() && rs.rowKey().isValid());
        rs.MovePrevious();
        QVERIFY(rs.isBOF() && !rs.isEOF());
        QVERIFY(!rs.Fields(QStringLiteral("姓名")).isValid());
        rs.MovePrevious();   // no further than before the first row
        rs.MoveNext();
        QCOMPARE(rs.Fields(QStringLiteral("姓名")).toString(), QStringLiteral("甲"));
        rs.MoveLast();
        rs.MoveNext();
        QVERIFY(rs.isEOF() && !rs.isBOF());
        rs.MoveNext();       // no further than after the last row
        rs.MovePrevious();
        QCOMPARE(rs.Fields(QStringLiteral("姓名")).toString(), QStringLiteral("丙"));

        Recordset empty = db->OpenRecordset(QStringLiteral("SELECT * FROM 用户信息 WHERE 姓名 = ?"), {QStringLiteral("无")});
        QVERIFY(empty.isValid());
        QCOMPARE(empty.RecordCount(), 0);
        QVERIFY(empty.isBOF() && empty.isEOF());
        empty.MoveFirst();
        empty.MoveNext();
        QVERIFY(empty.isBOF() && empty.isEOF());
        QCOMPARE(empty.fieldNames(), testRecordFields());
    }

    void aFailingQueryIsReportedOnce()
    {
        ScriptedDialogs dialogs;
        const auto db = Database::OpenDatabase();
        const Recordset rs = db->OpenRecordset(QStringLiteral("SELECT nosuch FROM 用户信息"));
        QVERIFY(!rs.isValid());
        QVERIFY(rs.isBOF() && rs.isEOF());
        verifyOneError(dialogs, {QStringLiteral("nosuch")});
        dialogs.clear();
        QVERIFY(!db->Execute(QStringLiteral("UPDATE nowhere SET x = 1")));
        verifyOneError(dialogs);
    }

private:
    std::unique_ptr<zoltest::TempProgramFolder> folder_;
};

// Every way the file can let the program down: one message, a false result,
// and nothing already stored is lost or changed.
class DatabaseFailureTest : public QObject {
    Q_OBJECT
private slots:
    void missingFolder()
    {
        zoltest::TempProgramFolder folder;
        ScriptedDialogs dialogs;
        const QString path = folder.file(QStringLiteral("gone/zol.mdb"));
        QVERIFY(!SaveForm(path).save(sampleRecord(QStringLiteral("张三"))));
        verifyOneError(dialogs, {QStringLiteral("文件夹")});
        QVERIFY(!QDir(folder.file(QStringLiteral("gone"))).exists());
    }

    void fileCannotBeCreated()
    {
        // No one may create files in /proc, not even the superuser.
        ScriptedDialogs dialogs;
        QVERIFY(!Database::OpenDatabase(QStringLiteral("/proc/zol.mdb")));
        verifyOneError(dialogs, {QStringLiteral("无法创建")});
    }

    void creationFailsHalfWay()
    {
        zoltest::TempProgramFolder folder;
        ScriptedDialogs dialogs;
        {
            PragmaScope full({QStringLiteral("PRAGMA max_page_count=1")});
            QVERIFY(!Database::OpenDatabase());
            verifyOneError(dialogs, {QStringLiteral("磁盘已满")});
        }
        // No half-made file is left behind to stand in the way next time.
        QVERIFY(!QFile::exists(databasePath()));
        QVERIFY(!QFile::exists(databasePath() + QStringLiteral("-journal")));
        QCOMPARE(rowCount(), 0);
    }

    void readOnlyFile()
    {
        zoltest::TempProgramFolder folder;
        ScriptedDialogs dialogs;
        QVERIFY(SaveForm().save(sampleRecord(QStringLiteral("张三"))));
        const QByteArray before = fileBytes(databasePath());
        QVERIFY(QFile::setPermissions(databasePath(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));

        QVERIFY(!SaveForm().save(sampleRecord(QStringLiteral("李四"))));
        verifyOneError(dialogs, {QStringLiteral("只读")});

        dialogs.clear();
        ShowForm browser;
        QVERIFY(browser.data.Refresh());   // reading still works
        QVERIFY(!browser.data.Delete());
        verifyOneError(dialogs, {QStringLiteral("只读")});
        QCOMPARE(browser.data.RecordCount(), 1);

        QCOMPARE(rowCount(), 1);
        QCOMPARE(fileBytes(databasePath()), before);
        QFile::setPermissions(databasePath(), QFile::ReadOwner | QFile::WriteOwner);
    }

    void fileIsNotADatabase()
    {
        zoltest::TempProgramFolder folder;
        ScriptedDialogs dialogs;
        QFile f(databasePath());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'x').prepend("这不是数据库"));
        f.close();
        const QByteArray before = fileBytes(databasePath());

        QVERIFY(!Database::OpenDatabase());
        verifyOneError(dialogs, {QStringLiteral("不是有效的数据库文件")});
        dialogs.clear();
        QVERIFY(!SaveForm().save(sampleRecord(QStringLiteral("张三"))));
        verifyOneError(dialogs);
        QCOMPARE(fileBytes(databasePath()), before);
    }

    void tableIsMissing()
    {
        zoltest::TempProgramFolder folder;
        ScriptedDialogs dialogs;
        {
            RawConnection raw(databasePath());
            QSqlQuery q(raw.db);
            QVERIFY(q.exec(QStringLiteral("CREATE TABLE 其他 (x TEXT)")));
        }
        const QByteArray before = fileBytes(databasePath());
        QVERIFY(!Database::OpenDatabase());
        verifyOneError(dialogs, {QStringLiteral("用户信息")});
        dialogs.clear();
        QVERIFY(!SaveForm().save(sampleRecord(QStringLiteral("张三"))));
        verifyOneError(dialogs, {QStringLiteral("用户信息")});
        QCOMPARE(fileBytes(databasePath()), before);
    }

    void diskIsFull()
    {
        zoltest::TempProgramFolder folder;
        ScriptedDialogs dialogs;
        SaveForm form;
        for (int i = 1; i <= 3; ++i)
            QVERIFY(form.save(sampleRecord(QStringLiteral("人%1").arg(i), i)));
        {
            // The file may not grow by a single page.
            PragmaScope full({QStringLiteral("PRAGMA max_page_count=1")});
            QStringList big = sampleRecord(QStringLiteral("大"), 4);
            big[16] = QString(200000, QChar(0x6587));
            QVERIFY(!form.save(big));
            verifyOneError(dialogs, {QStringLiteral("磁盘已满")});
        }
        QCOMPARE(rowCount(), 3);
        ShowForm browser;
        QVERIFY(browser.data.Refresh());
        QCOMPARE(browser.shown(), sampleRecord(QStringLiteral("人1"), 1));
        QVERIFY(browser.data.MoveLast());
        QCOMPARE(browser.shown(), sampleRecord(QStringLiteral("人3"), 3));
    }

    void fileIsLocked()
    {
        zoltest::TempProgramFolder folder;
        ScriptedDialogs dialogs;
        QVERIFY(SaveForm().save(sampleRecord(QStringLiteral("张三"))));
        PragmaScope noWait({QStringLiteral("PRAGMA busy_timeout=0")});
        const auto other = Database::OpenDatabase();
        QVERIFY(other->Execute(QStringLiteral("BEGIN EXCLUSIVE")));
        QVERIFY(!SaveForm().save(sampleRecord(QStringLiteral("李四"))));
        verifyOneError(dialogs, {QStringLiteral("锁定")});
        QVERIFY(other->Rollback());
        QCOMPARE(rowCount(), 1);
    }
};

ZOL_TEST(DatabaseFileTest)
ZOL_TEST(RecordsetTest)
ZOL_TEST(DatabaseFailureTest)

#include "tst_database.moc"
