#include "records/dbbackup.h"

#include "platform/database.h"
#include "platform/dialogs.h"
#include "platform/paths.h"
#include "records/sqlitefunctions.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <atomic>
#include <cstdio>
#include <sqlite3.h>

namespace zol {

namespace {


// A connection of its own to a file that is not (yet) the program's
// database; removed again with the object.
class FileConnection {
public:
    FileConnection(const QString& path, bool readOnly)
    {
        static std::atomic<int> counter{0};
        name_ = QStringLiteral("zol.backup.%1").arg(++counter);
        db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db_.setDatabaseName(path);
        if (readOnly)
            db_.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        db_.open();
    }
    ~FileConnection()
    {
        db_.close();
        db_ = QSqlDatabase();
        QSqlDatabase::removeDatabase(name_);
    }
    QSqlDatabase& db() { return db_; }

private:
    QString name_;
    QSqlDatabase db_;
};

QSqlError engineError(sqlite3* h)
{
    return QSqlError(QString(), QString::fromUtf8(sqlite3_errmsg(h)), QSqlError::StatementError,
                     QString::number(sqlite3_extended_errcode(h)));
}

// Copies every page of source into dest in one step: either all of it is
// there afterwards, or dest is rolled back to what it was.
bool copyPages(sqlite3* dest, sqlite3* source, QSqlError* error)
{
    sqlite3_backup* b = sqlite3_backup_init(dest, "main", source, "main");
    if (!b) {
        *error = engineError(dest);
        return false;
    }
    const int step = sqlite3_backup_step(b, -1);
    const int finish = sqlite3_backup_finish(b);
    if (step != SQLITE_DONE || finish != SQLITE_OK) {
        *error = engineError(dest);
        return false;
    }
    return true;
}

QString temporaryBeside(const QString& target)
{
    const QFileInfo info(target);
    for (int i = 0;; ++i) {
        const QString name = info.absoluteDir().filePath(
            QStringLiteral(".%1.%2.part").arg(info.fileName()).arg(i));
        if (!QFileInfo::exists(name))
            return name;
    }
}

} // namespace

bool isSameFile(const QString& a, const QString& b)
{
    const QFileInfo fa(a), fb(b);
    const QString ca = fa.canonicalFilePath(), cb = fb.canonicalFilePath();
    if (!ca.isEmpty() && !cb.isEmpty())
        return ca == cb;
    return fa.absoluteFilePath() == fb.absoluteFilePath();
}

BackupCheck checkBackupFile(const QString& path, bool integrity)
{
    BackupCheck check;
    const QString file = shownPath(path);
    if (!QFileInfo(path).isFile()) {
        check.problem = QStringLiteral("找不到文件 %1。").arg(file);
        return check;
    }
    FileConnection c(path, true);
    QSqlQuery q(c.db());
    auto failed = [&](const QSqlError& e) {
        const int code = e.nativeErrorCode().toInt() & 0xff;
        if (code == SQLITE_NOTADB || code == SQLITE_CORRUPT)
            check.problem = QStringLiteral("文件 %1 不是本程序的数据库文件，或者已经损坏。").arg(file);
        else
            check.problem = describeDatabaseError(e, path);
        return check;
    };
    if (!c.db().isOpen())
        return failed(c.db().lastError());

    // The first read shows whether the file is a database at all.
    if (!q.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type='table'")))
        return failed(q.lastError());
    QString table;
    while (q.next())
        if (q.value(0).toString().compare(testRecordTable(), Qt::CaseInsensitive) == 0)
            table = q.value(0).toString();
    if (q.lastError().isValid())
        return failed(q.lastError());
    if (table.isEmpty()) {
        check.problem = QStringLiteral("文件 %1 中没有“%2”表，不是本程序的数据库文件。")
                            .arg(file, testRecordTable());
        return check;
    }
    const QString quoted = QLatin1Char('"') + table + QLatin1Char('"');
    if (!q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(quoted)))
        return failed(q.lastError());
    QStringList missing = testRecordFields();
    while (q.next())
        for (int i = missing.size() - 1; i >= 0; --i)
            if (missing[i].compare(q.value(1).toString(), Qt::CaseInsensitive) == 0)
                missing.removeAt(i);
    if (!missing.isEmpty()) {
        check.problem = QStringLiteral("文件 %1 的“%2”表缺少字段 %3，不是本程序的数据库文件。")
                            .arg(file, table, missing.join(QStringLiteral("、")));
        return check;
    }

    // A cut-off or damaged copy fails here, before anything is replaced.
    if (integrity) {
        if (!q.exec(QStringLiteral("PRAGMA integrity_check(1)")) || !q.next())
            return failed(q.lastError());
        if (q.value(0).toString() != QLatin1String("ok")) {
            check.problem = QStringLiteral("文件 %1 已经损坏（完整性检查没有通过）。").arg(file);
            return check;
        }
    }
    if (!q.exec(QStringLiteral("SELECT count(*) FROM %1").arg(quoted)) || !q.next())
        return failed(q.lastError());
    check.rows = q.value(0).toInt();
    check.ok = true;
    return check;
}

bool backupDatabase(const QString& source, const QString& target, int* rows)
{
    if (isSameFile(source, target)) {
        ErrorBox(QStringLiteral("不能把数据备份到数据库文件 %1 本身，请另选一个文件。").arg(shownPath(target)));
        return false;
    }
    if (!QFileInfo(source).isFile()) {
        ErrorBox(QStringLiteral("找不到数据库文件 %1，没有可以备份的数据。").arg(shownPath(source)));
        return false;
    }
    std::unique_ptr<Database> db = Database::OpenDatabase(source);
    if (!db)
        return false;   // reported

    const QString part = temporaryBeside(target);
    bool copied = false;
    QSqlError error;
    {
        FileConnection out(part, false);
        sqlite3* dest = sqliteHandle(out.db());
        if (!dest)
            error = out.db().lastError();
        else
            copied = copyPages(dest, sqliteHandle(db->connection()), &error);
    }
    db.reset();
    if (!copied) {
        QFile::remove(part);
        ErrorBox(QStringLiteral("备份没有完成，文件 %1 没有写入。%2")
                     .arg(shownPath(target), describeDatabaseError(error, target)));
        return false;
    }
    const BackupCheck check = checkBackupFile(part);
    if (!check.ok) {
        QFile::remove(part);
        ErrorBox(QStringLiteral("写好的备份没有通过检查，文件 %1 没有写入。%2")
                     .arg(shownPath(target), check.problem));
        return false;
    }
    // rename() replaces an existing file in one step: the chosen name holds
    // either the old file or the whole new copy.
    if (std::rename(QFile::encodeName(part).constData(), QFile::encodeName(target).constData()) != 0) {
        QFile::remove(part);
        ErrorBox(QStringLiteral("无法写入文件 %1，备份没有完成。请检查文件夹是否允许写入。").arg(shownPath(target)));
        return false;
    }
    if (rows)
        *rows = check.rows;
    return true;
}

QString safetyCopyPath(const QString& path)
{
    const QFileInfo info(path);
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString name = info.absoluteDir().filePath(
        QStringLiteral("%1-恢复前-%2.%3").arg(info.completeBaseName(), stamp, info.suffix()));
    for (int i = 2; QFileInfo::exists(name); ++i)
        name = info.absoluteDir().filePath(QStringLiteral("%1-恢复前-%2-%3.%4")
                                               .arg(info.completeBaseName(), stamp)
                                               .arg(i)
                                               .arg(info.suffix()));
    return name;
}

bool replaceDatabase(const QString& current, const QString& backup)
{
    std::unique_ptr<Database> db = Database::OpenDatabase(current);
    if (!db)
        return false;   // reported
    QSqlError error;
    bool ok = false;
    {
        FileConnection in(backup, true);
        sqlite3* source = sqliteHandle(in.db());
        if (!source)
            error = in.db().lastError();
        else
            ok = copyPages(sqliteHandle(db->connection()), source, &error);
    }
    if (!ok)
        ErrorBox(QStringLiteral("数据没有恢复，数据库文件 %1 保持原样。%2")
                     .arg(shownPath(current), describeDatabaseError(error, current)));
    return ok;
}

} // namespace zol
