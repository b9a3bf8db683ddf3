// The backup window: a backup gives back exactly the stored tests, and a
// restore from anything but a sound backup changes nothing.
#include "recordstest.h"

#include "platform/dbtestsupport.h"
#include "records/dbbackup.h"
#include "records/frmzol13.h"
#include "records/frmzol14.h"
#include "records/recordgrid.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <sys/file.h>
#include <unistd.h>

using namespace zol;
using namespace recordstest;

namespace {

// Enough tests with long texts for the file to span many pages.
void storeManyTests(int count)
{
    QStringList tests;
    for (int i = 0; i < count; ++i)
        tests << QStringLiteral("人%1 %2 %3 50 55 60").arg(i).arg(i % 2 ? "女" : "男").arg(30 + i % 40);
    storeTests(tests);
    dbtest::RawConnection raw(databasePath());
    QVERIFY(raw.exec(QStringLiteral("UPDATE 用户信息 SET P评价 = '1：' || hex(randomblob(300))")));
}

// The message boxes shown, file dialogs left out.
QList<DialogCall> messages(const ScriptedDialogs& dialogs)
{
    QList<DialogCall> m;
    for (const DialogCall& c : dialogs.calls)
        if (c.kind == DialogCall::Message)
            m << c;
    return m;
}

QStringList safetyCopies(const QString& folder)
{
    return QDir(folder).entryList({QStringLiteral("*恢复前*")}, QDir::Files);
}

// Percentages shown, and no dialog.
struct ShownProgress : ProgressDisplay {
    QList<int> shown;
    void begin(QWidget*, const QString&) override { shown.clear(); }
    void show(int percent) override { shown << percent; }
    void end() override {}
};

// A backup file made by hand: its 用户信息 made by the statements (%1 stands
// for the 21 fields), and two tests in it whose P score and date are given
// as SQL values. Triggers come after the tests.
void makeBackup(const QString& path, const QStringList& statements, const QString& p, const QString& date)
{
    dbtest::RawConnection raw(path);
    const QStringList triggers = statements.filter(QStringLiteral("TRIGGER"));
    for (QString sql : statements) {
        if (sql.contains(QLatin1String("%1")))
            sql = sql.arg(testRecordFields().join(QStringLiteral(", ")));
        QVERIFY2(triggers.contains(sql) || raw.exec(sql), qPrintable(sql));
    }
    const QString values = QStringLiteral("(%1, 12, 15, 9, 6, %2, 55, 60, 45, '1：甲', '2：乙', '3：丙', '4：丁', %3)");
    const QString subject = QStringLiteral("'%1', '男', 30, '大学', '汉族', '教师', 7, '门诊'");
    QVERIFY(raw.exec(QStringLiteral("INSERT INTO 用户信息 (%1) VALUES %2, %3")
                         .arg(testRecordFields().join(QStringLiteral(", ")),
                              values.arg(subject.arg(QStringLiteral("甲")), p, date),
                              values.arg(subject.arg(QStringLiteral("乙")), QStringLiteral("55"),
                                         QStringLiteral("'2026-03-07'")))));
    for (const QString& sql : triggers)
        QVERIFY(raw.exec(sql));
}

QVariant sqlValue(const QString& path, const QString& sql)
{
    dbtest::RawConnection raw(path);
    return raw.value(sql);
}

} // namespace

class BackupTest : public zoltest::WindowFixture {
    Q_OBJECT
    ShownProgress progress;
private slots:
    void init()
    {
        startWindows();
        setProgressDisplay(&progress);
    }
    void cleanup()
    {
        setProgressDisplay(nullptr);
        stopWindows();
    }

    // Backup, changes, restore: the very rows of the backup are back, the
    // changed ones are in the safety copy, and a window that kept its
    // connection open reads the restored rows.
    void backupThenRestore()
    {
        storeManyTests(300);
        const QList<QStringList> original = dbtest::storedRows();
        const QString target = folder->file(QStringLiteral("备份"));
        DataBackup& panel = *frmzol14().DataBackup1;
        dialogs->fileAnswers = {target};
        QVERIFY(panel.Backup());
        QCOMPARE(dialogs->last().title, QStringLiteral("信息"));
        QCOMPARE(checkBackupFile(target + QStringLiteral(".mdb")).rows, 300);

        Frmzol13Form& grid = frmzol13();
        storeTests({QStringLiteral("后来 男 40 40 40 40")});
        dbtest::RawConnection(databasePath()).exec(QStringLiteral("DELETE FROM 用户信息 WHERE rowid < 10"));
        const QList<QStringList> changed = dbtest::storedRows();

        dialogs->clear();
        dialogs->fileAnswers = {target + QStringLiteral(".mdb")};
        dialogs->messageAnswers = {vbOK};
        QVERIFY(panel.Restore());
        const QList<DialogCall> shown = messages(*dialogs);
        QCOMPARE(shown.size(), 2);
        QVERIFY(shown[0].prompt.contains(QStringLiteral("中有 300 条测试记录，现有数据库中有 292 条")));
        QCOMPARE(shown[0].title, QStringLiteral("询问"));
        QCOMPARE(shown[1].title, QStringLiteral("信息"));
        QCOMPARE(dbtest::storedRows(), original);
        const QStringList copies = safetyCopies(folder->path());
        QCOMPARE(copies.size(), 1);
        QCOMPARE(dbtest::storedRows(folder->file(copies.first())), changed);
        QVERIFY(grid.Data1->Refresh());
        QCOMPARE(grid.Data1->storedRowCount(), 300);
        QCOMPARE(grid.Data1->index(299, 1).data().toString(), QStringLiteral("人299"));
        QCOMPARE(progress.shown.last(), 100);
        QVERIFY(std::is_sorted(progress.shown.begin(), progress.shown.end()));
    }

    // Whatever else the backup's file carries, the restored zol.mdb is one
    // of the program's own making holding the backup's tests, under keys the
    // file never used before; one save stores one row, one delete removes one.
    void restoreCarriesOnlyTheTests_data()
    {
        QTest::addColumn<QStringList>("statements");
        QTest::addColumn<QString>("p");
        QTest::addColumn<QString>("date");
        const QString table = QStringLiteral("CREATE TABLE 用户信息 (%1)");
        QTest::newRow("trigger that empties the table")
            << QStringList{table, QStringLiteral("CREATE TRIGGER wipe AFTER INSERT ON 用户信息 "
                                                 "BEGIN DELETE FROM 用户信息; END")}
            << "55" << "'2026-03-07'";
        QTest::newRow("column named rowid")
            << QStringList{QStringLiteral("CREATE TABLE 用户信息 (rowid, %1)")} << "55" << "'2026-03-07'";
        QTest::newRow("WAL mode")
            << QStringList{QStringLiteral("PRAGMA journal_mode=WAL"), table} << "55" << "'2026-03-07'";
        QTest::newRow("WITHOUT ROWID")
            << QStringList{QStringLiteral("CREATE TABLE 用户信息 (%1, PRIMARY KEY (姓名)) WITHOUT ROWID")}
            << "55" << "'2026-03-07'";
        QTest::newRow("UTF-16, a CHECK, another table and a view")
            << QStringList{QStringLiteral("PRAGMA encoding='UTF-16'"),
                           QStringLiteral("CREATE TABLE 用户信息 (%1, CHECK (性别 = '男'))"),
                           QStringLiteral("CREATE TABLE other (x)"),
                           QStringLiteral("CREATE VIEW seen AS SELECT 姓名 FROM 用户信息")}
            << "55" << "'2026-03-07'";
        QTest::newRow("numbers and dates as other texts")
            << QStringList{table} << "' 55.4'" << "'2026/3/7'";
    }
    void restoreCarriesOnlyTheTests()
    {
        QFETCH(QStringList, statements);
        QFETCH(QString, p);
        QFETCH(QString, date);
        const QString backup = folder->file(QStringLiteral("外来.mdb"));
        makeBackup(backup, statements, p, date);
        storeTests({QStringLiteral("旧1 男 1 1 1 1"), QStringLiteral("旧2 男 1 1 1 1"),
                    QStringLiteral("旧3 男 1 1 1 1")});
        const int usedKeys = 3;
        dbtest::RawConnection(databasePath()).exec(QStringLiteral("DELETE FROM 用户信息 WHERE rowid = 3"));

        dialogs->fileAnswers = {backup};
        dialogs->messageAnswers = {vbOK};
        QVERIFY(frmzol14().DataBackup1->Restore());
        QCOMPARE(dialogs->last().title, QStringLiteral("信息"));
        // Read before anything opens the file again (which sets its journal mode).
        const QByteArray header = dbtest::fileBytes(databasePath()).left(100);
        QCOMPARE(header.mid(18, 2), QByteArray("\x01\x01"));          // rollback journal
        QCOMPARE(header.mid(56, 4), QByteArray("\x00\x00\x00\x01", 4));   // UTF-8

        QList<QStringList> expected = dbtest::storedRows(backup);
        QCOMPARE(expected.size(), 2);
        expected[0][12] = QStringLiteral("55");
        expected[0][20] = QStringLiteral("2026-03-07");
        QCOMPARE(dbtest::storedRows(), expected);

        // The layout of a zol.mdb the program makes, and nothing more.
        const QString fresh = folder->file(QStringLiteral("fresh/zol.mdb"));
        QVERIFY(QDir().mkpath(QFileInfo(fresh).path()));
        QVERIFY(Database::OpenDatabase(fresh));
        const QString schema = QStringLiteral("SELECT group_concat(x, ';') FROM (SELECT type || name || "
                                              "ifnull(sql, '') AS x FROM sqlite_master ORDER BY 1)");
        QCOMPARE(sqlValue(databasePath(), schema), sqlValue(fresh, schema));
        QVERIFY(sqlValue(databasePath(), QStringLiteral("SELECT min(rowid) FROM 用户信息")).toInt() > usedKeys);

        QStringList woman = dbtest::sampleRecord(QStringLiteral("丙"));
        woman[1] = QStringLiteral("女");
        QVERIFY(dbtest::SaveForm().save(woman));
        QCOMPARE(dbtest::rowCount(), 3);
        auto db = Database::OpenDatabase();
        const QVariant key = db->OpenRecordset(keyedSelect(testRecordTable())).rowKey();
        QVERIFY(db->DeleteRow(testRecordTable(), key));
        QCOMPARE(dbtest::rowCount(), 2);
        QCOMPARE(messages(*dialogs).size(), 2);   // the question and the outcome
    }

    // Another copy of the program saving all through a restore: every save
    // it reports as stored is in the safety copy or in the restored data.
    void restoreWhileAnotherCopySaves()
    {
        storeManyTests(50);
        const QString backup = folder->file(QStringLiteral("备份.mdb"));
        QVERIFY(backupDatabase(databasePath(), backup));
        const int saves = 200;
        QProcess copy;
        copy.start(QStringLiteral(ZOL_SAVER), {databasePath(), QStringLiteral("乙"), QString::number(saves)});
        QTRY_VERIFY_WITH_TIMEOUT(dbtest::rowCount() > 60, 20000);
        QString safety;
        QVERIFY(restoreDatabase(databasePath(), backup, &safety));
        QVERIFY(copy.waitForFinished(60000));
        QCOMPARE(copy.exitStatus(), QProcess::NormalExit);
        QSet<QString> saved;
        for (const QString& file : {databasePath(), safety})
            for (const QStringList& row : dbtest::storedRows(file))
                if (row[0].startsWith(QStringLiteral("乙")))
                    saved << row[0];
        QCOMPARE(saved.size(), saves - copy.exitCode());
    }

    // Another program rewrites the backup while it is restored: at the first
    // report, after the file was checked and before its rows are copied, and
    // at every report after (while they are copied, which it must wait for).
    // What is stored is what a save would store of the rows as copied; a
    // value a save refuses refuses the restore.
    void backupRewrittenWhileRestored_data()
    {
        QTest::addColumn<QString>("rewrite");
        QTest::addColumn<bool>("restored");
        QTest::addColumn<QString>("stored");   // 粗份P and 测试日期 of the first row
        QTest::newRow("values to convert") << "粗份P = 12.5, 测试日期 = '2024/1/5'" << true << "12 2024-01-05";
        QTest::newRow("a value refused") << "粗份P = 'abc'" << false << "";
    }
    void backupRewrittenWhileRestored()
    {
        QFETCH(QString, rewrite);
        QFETCH(bool, restored);
        QFETCH(QString, stored);
        storeManyTests(300);
        const QString backup = folder->file(QStringLiteral("备份.mdb"));
        QVERIFY(backupDatabase(databasePath(), backup));
        const QByteArray before = dbtest::fileBytes(databasePath());
        dbtest::RawConnection writer(backup);
        QVERIFY(writer.exec(QStringLiteral("PRAGMA busy_timeout=0")));
        QList<bool> written;
        const auto rewriting = [&](int) {
            written << writer.exec(QStringLiteral("UPDATE 用户信息 SET %1 WHERE rowid = 1").arg(rewrite));
        };
        QCOMPARE(restoreDatabase(databasePath(), backup, nullptr, nullptr, rewriting), restored);
        QVERIFY(written.value(0));
        const QString unchecked = QStringLiteral(
            "SELECT count(*) FROM 用户信息 WHERE typeof(粗份P) NOT IN ('integer', 'null') "
            "OR 测试日期 NOT GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]'");
        QCOMPARE(sqlValue(databasePath(), unchecked).toInt(), 0);
        if (restored)
            QCOMPARE(sqlValue(databasePath(), QStringLiteral("SELECT 粗份P || ' ' || 测试日期 FROM 用户信息 "
                                                             "ORDER BY rowid LIMIT 1")).toString(), stored);
        else
            QCOMPARE(dbtest::fileBytes(databasePath()), before);
    }

    // What a killed backup, restore or start of the program left is gone
    // after the next backup into that folder; a file that a running copy
    // still writes, or one of the user's own, stays, whatever it is called.
    void leftoversRemoved_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("held");
        QTest::addColumn<bool>("gone");
        const QByteArray pages = QByteArray("SQLite format 3", 16) + QByteArray(8176, '\0');
        QTest::newRow("killed backup") << ".备份.mdb.zolmiv-0.part" << pages << false << true;
        QTest::newRow("killed safety copy") << ".zol-恢复前-20260101-120000.mdb.zolmiv-0.part" << QByteArray()
                                            << false << true;
        QTest::newRow("killed restore, header not yet written") << ".zol.mdb.zolmiv-2.part"
                                                                << QByteArray(8192, '\0') << false << true;
        QTest::newRow("backup another copy writes") << ".备份.mdb.zolmiv-3.part" << pages << true << false;
        QTest::newRow("the user's file, named like a leftover") << ".备份.mdb.zolmiv-4.part"
                                                                << QByteArray("我的笔记") << false << false;
        QTest::newRow("the user's database, without the mark") << ".备份.mdb.0.part" << pages << false << false;
    }
    void leftoversRemoved()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(bool, held);
        QFETCH(bool, gone);
        storeManyTests(5);
        const QString path = folder->file(name);
        QVERIFY(zoltest::writeFile(path, content));
        QProcess writer;
        if (held) {
            writer.start(QStringLiteral("flock"), {QStringLiteral("-x"), path, QStringLiteral("sleep"), QStringLiteral("30")});
            QVERIFY(writer.waitForStarted());
            QTRY_VERIFY([&] {
                const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
                const bool taken = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
                ::close(fd);
                return taken;
            }());
        }
        dialogs->fileAnswers = {folder->file(QStringLiteral("备份.mdb"))};
        QVERIFY(frmzol14().DataBackup1->Backup());
        QCOMPARE(!QFileInfo::exists(path), gone);
        if (held) {
            writer.kill();
            writer.waitForFinished();
        }
    }

    // A file that is not a sound backup, or a restore the user cancels:
    // the database stays byte for byte as it was and no safety copy is made.
    void restoreRefused_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("says");
        QTest::newRow("text file") << "text" << "不是本程序的数据库文件";
        QTest::newRow("database without the table") << "no table" << "没有";
        QTest::newRow("table without a field") << "no field" << "缺少字段";
        QTest::newRow("a view named like the table") << "view" << "不是一个表";
        QTest::newRow("truncated copy") << "truncated" << "损坏";
        QTest::newRow("left unfinished") << "hot journal" << "停止";
        QTest::newRow("a score that is no number") << "score" << "粗份P";
        QTest::newRow("a name that is binary data") << "blob" << "姓名";
        QTest::newRow("a date that is none") << "date" << "测试日期";
        QTest::newRow("the database itself") << "itself" << "正在使用";
        QTest::newRow("a hard link to the database") << "link" << "正在使用";
        QTest::newRow("cancelled") << "cancel" << "";
        QTest::newRow("a read-only database") << "read-only file" << "是只读的，无法恢复数据";
        QTest::newRow("a folder that may not be written") << "read-only folder" << "不允许写入，无法恢复数据";
        QTest::newRow("a full disk") << "full" << "磁盘已满";
    }
    void restoreRefused()
    {
        QFETCH(QString, kind);
        QFETCH(QString, says);
        storeManyTests(200);
        QString chosen = folder->file(QStringLiteral("chosen.mdb"));
        const QMap<QString, QString> tables = {
            {QStringLiteral("no table"), QStringLiteral("CREATE TABLE other (x)")},
            {QStringLiteral("no field"), QStringLiteral("CREATE TABLE 用户信息 (姓名, 性别)")},
            {QStringLiteral("view"), QStringLiteral("CREATE VIEW 用户信息 AS SELECT 1")}};
        const QStringList refusedByDisk = {QStringLiteral("read-only file"), QStringLiteral("read-only folder"),
                                           QStringLiteral("full")};
        const QMap<QString, QString> values = {{QStringLiteral("score"), QStringLiteral("粗份P = 'abc'")},
                                               {QStringLiteral("blob"), QStringLiteral("姓名 = x'00ff'")},
                                               {QStringLiteral("date"), QStringLiteral("测试日期 = '2026-13-45'")}};
        if (kind == QLatin1String("text")) {
            QVERIFY(zoltest::writeFile(chosen, "姓名,性别\n张三,男\n"));
        } else if (tables.contains(kind)) {
            QVERIFY(dbtest::RawConnection(chosen).exec(tables[kind]));
        } else if (kind == QLatin1String("itself")) {
            chosen = databasePath();
        } else if (kind == QLatin1String("link")) {
            QCOMPARE(::link(QFile::encodeName(databasePath()).constData(), QFile::encodeName(chosen).constData()), 0);
        } else if (values.contains(kind)) {
            QVERIFY(backupDatabase(databasePath(), chosen));
            QVERIFY(dbtest::RawConnection(chosen).exec(
                QStringLiteral("UPDATE 用户信息 SET %1 WHERE rowid = 100").arg(values[kind])));
            dialogs->messageAnswers = {vbOK};
        } else if (kind == QLatin1String("hot journal")) {
            // A copy of a file and its journal in the middle of a write.
            dbtest::RawConnection writer(databasePath());
            QVERIFY(writer.exec(QStringLiteral("PRAGMA cache_size=1")));
            QVERIFY(writer.exec(QStringLiteral("BEGIN IMMEDIATE")));
            QVERIFY(writer.exec(QStringLiteral("UPDATE 用户信息 SET P评价 = P评价 || P评价")));
            QVERIFY(QFile::copy(databasePath(), chosen));
            QVERIFY(QFile::copy(databasePath() + QStringLiteral("-journal"), chosen + QStringLiteral("-journal")));
            QVERIFY(writer.exec(QStringLiteral("ROLLBACK")));
        } else if (refusedByDisk.contains(kind)) {
            QVERIFY(backupDatabase(databasePath(), chosen));
            dialogs->messageAnswers = {vbOK};
        } else {
            QVERIFY(backupDatabase(databasePath(), chosen));
            if (kind == QLatin1String("truncated")) {
                QFile f(chosen);
                QVERIFY(f.resize(f.size() / 2));
            }
            dialogs->messageAnswers = {vbCancel};
        }
        storeTests({QStringLiteral("后来 男 40 40 40 40")});
        const QByteArray before = dbtest::fileBytes(databasePath());
        dialogs->fileAnswers = {chosen};
        {
            const QString locked = kind == QLatin1String("read-only file") ? databasePath() : folder->path();
            const auto permissions = QFile::permissions(locked);
            if (kind.startsWith(QLatin1String("read-only")))
                QVERIFY(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner));
            dbtest::PragmaScope full(kind == QLatin1String("full") ? QStringList{QStringLiteral("PRAGMA max_page_count=1")}
                                                                   : QStringList{});
            QVERIFY(!frmzol14().DataBackup1->Restore());
            QFile::setPermissions(locked, permissions);
        }
        QCOMPARE(messages(*dialogs).size(), values.contains(kind) || refusedByDisk.contains(kind) ? 2 : 1);
        if (kind != QLatin1String("cancel")) {
            const QString said = dialogs->last().prompt;
            QCOMPARE(dialogs->last().title, QStringLiteral("出错信息"));
            QVERIFY2(said.contains(says), qPrintable(said));
            // Sentences of a restore's own, the cause first.
            QVERIFY2(!said.contains(QStringLiteral("这次的数据没有保存")) && !said.contains(QStringLiteral("not an error")),
                     qPrintable(said));
        }
        QCOMPARE(dbtest::fileBytes(databasePath()), before);
        QVERIFY(safetyCopies(folder->path()).isEmpty());
        QCOMPARE(QDir(folder->path()).entryList({QStringLiteral("*.part*")}, QDir::Files | QDir::Hidden), QStringList());
    }

    // Where a backup may go: a new or an existing file, never the database
    // itself nor a folder that is not there.
    void backupTargets_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("written");
        QTest::newRow("new file") << "copy.mdb" << true;
        QTest::newRow("existing file replaced") << "old.mdb" << true;
        QTest::newRow("the database itself") << "zol.mdb" << false;
        QTest::newRow("a hard link to the database") << "link.mdb" << false;
        QTest::newRow("missing folder") << "no/such/copy.mdb" << false;
        QTest::newRow("the database's journal") << "zol.mdb-journal" << false;
        QTest::newRow("the database's write-ahead log") << "zol.mdb-wal" << false;
        QTest::newRow("the log's shared memory") << "zol.mdb-shm" << false;
    }
    void backupTargets()
    {
        QFETCH(QString, target);
        QFETCH(bool, written);
        storeManyTests(20);
        QVERIFY(zoltest::writeFile(folder->file(QStringLiteral("old.mdb")), "old"));
        QCOMPARE(::link(QFile::encodeName(databasePath()).constData(),
                        QFile::encodeName(folder->file(QStringLiteral("link.mdb"))).constData()), 0);
        const QByteArray before = dbtest::fileBytes(databasePath());
        dialogs->fileAnswers = {folder->file(target)};
        QCOMPARE(frmzol14().DataBackup1->Backup(), written);
        QVERIFY(dialogs->calls.first().proposed.contains(QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"))));
        QCOMPARE(messages(*dialogs).size(), 1);
        QCOMPARE(dialogs->last().title, written ? QStringLiteral("信息") : QStringLiteral("出错信息"));
        if (written)
            QCOMPARE(dbtest::storedRows(folder->file(target)), dbtest::storedRows());
        else if (target.startsWith(QLatin1String("zol.mdb-")))
            QVERIFY(!QFileInfo::exists(folder->file(target)));
        QCOMPARE(dbtest::fileBytes(databasePath()), before);
        // No half-written copy is left behind.
        QCOMPARE(QDir(folder->path()).entryList({QStringLiteral("*.part")}, QDir::Files | QDir::Hidden),
                 QStringList());
    }
};

ZOL_TEST(BackupTest)
#include "tst_backup.moc"
