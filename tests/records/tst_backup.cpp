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

} // namespace

class BackupTest : public zoltest::WindowFixture {
    Q_OBJECT
private slots:
    void init() { startWindows(); }
    void cleanup() { stopWindows(); }

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
    }

    // A file that is not a sound backup, or a restore the user cancels:
    // the database stays byte for byte as it was and no safety copy is made.
    void restoreRefused_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("text file") << "text";
        QTest::newRow("database without the table") << "no table";
        QTest::newRow("table without a field") << "no field";
        QTest::newRow("truncated copy") << "truncated";
        QTest::newRow("the database itself") << "itself";
        QTest::newRow("cancelled") << "cancel";
    }
    void restoreRefused()
    {
        QFETCH(QString, kind);
        storeManyTests(200);
        QString chosen = folder->file(QStringLiteral("chosen.mdb"));
        if (kind == QLatin1String("text")) {
            QVERIFY(zoltest::writeFile(chosen, "姓名,性别\n张三,男\n"));
        } else if (kind == QLatin1String("no table") || kind == QLatin1String("no field")) {
            dbtest::RawConnection raw(chosen);
            QVERIFY(raw.exec(kind == QLatin1String("no table")
                                 ? QStringLiteral("CREATE TABLE other (x)")
                                 : QStringLiteral("CREATE TABLE 用户信息 (姓名, 性别)")));
        } else if (kind == QLatin1String("itself")) {
            chosen = databasePath();
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
        QVERIFY(!frmzol14().DataBackup1->Restore());
        QCOMPARE(messages(*dialogs).size(), 1);
        if (kind != QLatin1String("cancel"))
            QCOMPARE(dialogs->last().title, QStringLiteral("出错信息"));
        QCOMPARE(dbtest::fileBytes(databasePath()), before);
        QVERIFY(safetyCopies(folder->path()).isEmpty());
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
        QTest::newRow("missing folder") << "no/such/copy.mdb" << false;
    }
    void backupTargets()
    {
        QFETCH(QString, target);
        QFETCH(bool, written);
        storeManyTests(20);
        QVERIFY(zoltest::writeFile(folder->file(QStringLiteral("old.mdb")), "old"));
        const QByteArray before = dbtest::fileBytes(databasePath());
        dialogs->fileAnswers = {folder->file(target)};
        QCOMPARE(frmzol14().DataBackup1->Backup(), written);
        QCOMPARE(messages(*dialogs).size(), 1);
        QCOMPARE(dialogs->last().title, written ? QStringLiteral("信息") : QStringLiteral("出错信息"));
        if (written)
            QCOMPARE(dbtest::storedRows(folder->file(target)), dbtest::storedRows());
        QCOMPARE(dbtest::fileBytes(databasePath()), before);
        // No half-written copy is left behind.
        QCOMPARE(QDir(folder->path()).entryList({QStringLiteral("*.part")}, QDir::Files | QDir::Hidden),
                 QStringList());
    }
};

ZOL_TEST(BackupTest)
#include "tst_backup.moc"
