// The database layer: the file, queries, and every way the file can fail.
#include "dbtestsupport.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>

using namespace zol;
using namespace dbtest;

// Opening the file: created when missing, kept as it is when present.
class DatabaseFileTest : public zoltest::WindowFixture {
    Q_OBJECT
private slots:
    void init() { startWindows(); }
    void cleanup() { stopWindows(); }

    void createsTheFileAndTableWhenMissing()
    {
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
        QCOMPARE(dialogs->count(), 0);
    }

    void reopensAnExistingFileAsItIs()
    {
        QVERIFY(SaveForm().save(sampleRecord(QStringLiteral("张三"))));
        const QByteArray before = fileBytes(databasePath());
        QVERIFY(Database::OpenDatabase());
        QCOMPARE(fileBytes(databasePath()), before);
        QCOMPARE(rowCount(), 1);
        QCOMPARE(dialogs->count(), 0);
    }

    void anEmptyFileGetsTheTable()
    {
        QVERIFY(zoltest::writeFile(databasePath(), QByteArray()));
        QCOMPARE(rowCount(), 0);
        QCOMPARE(dialogs->count(), 0);
    }

    void releasesItsConnections()
    {
        const int before = QSqlDatabase::connectionNames().size();
        for (int i = 0; i < 3; ++i)
            QCOMPARE(rowCount(), 0);
        QCOMPARE(QSqlDatabase::connectionNames().size(), before);
    }
};

// Queries as the windows write them.
class RecordsetTest : public zoltest::WindowFixture {
    Q_OBJECT
private slots:
    void init()
    {
        startWindows();
        SaveForm form;
        int n = 0;
        for (const QString& name : {QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("丙")})
            QVERIFY(form.save(sampleRecord(name, ++n)));
    }
    void cleanup() { stopWindows(); }

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
        const auto db = Database::OpenDatabase();
        const Recordset rs = db->OpenRecordset(QStringLiteral("SELECT nosuch FROM 用户信息"));
        QVERIFY(!rs.isValid());
        QVERIFY(rs.isBOF() && rs.isEOF());
        verifyOneError(*dialogs, {QStringLiteral("nosuch")});
        dialogs->clear();
        QVERIFY(!db->Execute(QStringLiteral("UPDATE nowhere SET x = 1")));
        verifyOneError(*dialogs);
    }
};

// Every way the file can let the program down: one message, a false result,
// and nothing already stored is lost or changed.
class DatabaseFailureTest : public zoltest::WindowFixture {
    Q_OBJECT
private slots:
    void init() { startWindows(); }
    void cleanup() { stopWindows(); }

    void missingFolder()
    {
        const QString path = folder->file(QStringLiteral("gone/zol.mdb"));
        QVERIFY(!SaveForm(path).save(sampleRecord(QStringLiteral("张三"))));
        verifyOneError(*dialogs, {QStringLiteral("文件夹")});
        QVERIFY(!QDir(folder->file(QStringLiteral("gone"))).exists());
    }

    void fileCannotBeCreated()
    {
        // No one may create files in /proc, not even the superuser.
        QVERIFY(!Database::OpenDatabase(QStringLiteral("/proc/zol.mdb")));
        verifyOneError(*dialogs, {QStringLiteral("无法创建")});
    }

    void creationFailsHalfWay()
    {
        {
            PragmaScope full({QStringLiteral("PRAGMA max_page_count=1")});
            QVERIFY(!Database::OpenDatabase());
            verifyOneError(*dialogs, {QStringLiteral("磁盘已满")});
        }
        // No half-made file is left behind to stand in the way next time.
        QVERIFY(!QFile::exists(databasePath()));
        QVERIFY(!QFile::exists(databasePath() + QStringLiteral("-journal")));
        QCOMPARE(rowCount(), 0);
    }

    void readOnlyFile()
    {
        QVERIFY(SaveForm().save(sampleRecord(QStringLiteral("张三"))));
        const QByteArray before = fileBytes(databasePath());
        QVERIFY(QFile::setPermissions(databasePath(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));

        QVERIFY(!SaveForm().save(sampleRecord(QStringLiteral("李四"))));
        verifyOneError(*dialogs, {QStringLiteral("只读")});

        dialogs->clear();
        ShowForm browser;
        QVERIFY(browser.data.Refresh());   // reading still works
        QVERIFY(!browser.data.Delete());
        verifyOneError(*dialogs, {QStringLiteral("只读")});
        QCOMPARE(browser.data.RecordCount(), 1);

        QCOMPARE(rowCount(), 1);
        QCOMPARE(fileBytes(databasePath()), before);
        QFile::setPermissions(databasePath(), QFile::ReadOwner | QFile::WriteOwner);
    }

    // A file that is there but not ours is refused, and left as it was.
    void foreignFileIsLeftAlone_data()
    {
        QTest::addColumn<QByteArray>("bytes");   // the file's content, or
        QTest::addColumn<QString>("sql");        // a statement that makes it
        QTest::addColumn<QString>("openSays");
        QTest::addColumn<QStringList>("saveSays");
        QTest::newRow("not a database") << QByteArray(4096, 'x').prepend("这不是数据库") << QString()
                                        << QStringLiteral("不是有效的数据库文件") << QStringList();
        QTest::newRow("table missing") << QByteArray() << QStringLiteral("CREATE TABLE 其他 (x TEXT)")
                                       << QStringLiteral("用户信息") << QStringList{QStringLiteral("用户信息")};
    }
    void foreignFileIsLeftAlone()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, sql);
        QFETCH(QString, openSays);
        QFETCH(QStringList, saveSays);
        if (sql.isEmpty())
            QVERIFY(zoltest::writeFile(databasePath(), bytes));
        else
            QVERIFY(RawConnection(databasePath()).exec(sql));
        const QByteArray before = fileBytes(databasePath());

        QVERIFY(!Database::OpenDatabase());
        verifyOneError(*dialogs, {openSays});
        dialogs->clear();
        QVERIFY(!SaveForm().save(sampleRecord(QStringLiteral("张三"))));
        verifyOneError(*dialogs, saveSays);
        QCOMPARE(fileBytes(databasePath()), before);
    }

    void diskIsFull()
    {
        SaveForm form;
        for (int i = 1; i <= 3; ++i)
            QVERIFY(form.save(sampleRecord(QStringLiteral("人%1").arg(i), i)));
        {
            // The file may not grow by a single page.
            PragmaScope full({QStringLiteral("PRAGMA max_page_count=1")});
            QStringList big = sampleRecord(QStringLiteral("大"), 4);
            big[16] = QString(200000, QChar(0x6587));
            QVERIFY(!form.save(big));
            verifyOneError(*dialogs, {QStringLiteral("磁盘已满")});
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
        QVERIFY(SaveForm().save(sampleRecord(QStringLiteral("张三"))));
        PragmaScope noWait({QStringLiteral("PRAGMA busy_timeout=0")});
        const auto other = Database::OpenDatabase();
        QVERIFY(other->Execute(QStringLiteral("BEGIN EXCLUSIVE")));
        QVERIFY(!SaveForm().save(sampleRecord(QStringLiteral("李四"))));
        verifyOneError(*dialogs, {QStringLiteral("锁定")});
        QVERIFY(other->Rollback());
        QCOMPARE(rowCount(), 1);
    }
};

ZOL_TEST(DatabaseFileTest)
ZOL_TEST(RecordsetTest)
ZOL_TEST(DatabaseFailureTest)

#include "tst_database.moc"
