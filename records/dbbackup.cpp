#include "records/dbbackup.h"

#include "platform/convert.h"
#include "platform/database.h"
#include "platform/datanotices.h"
#include "platform/dialogs.h"
#include "platform/partfiles.h"
#include "platform/paths.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QHash>
#include <QTemporaryDir>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sqlite3.h>
#include <sys/stat.h>

namespace zol {

namespace {

// A connection of the engine's own, without the driver: the copies and the
// reading of a backup go row by row and page by page, where the driver's
// values would cost more than the work itself.
class RawFile {
public:
    RawFile(const QString& path, bool readOnly)
    {
        const int flags = readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
        rc_ = sqlite3_open_v2(QFile::encodeName(path).constData(), &db_, flags, nullptr);
        sqlite3_extended_result_codes(db_, 1);
        sqlite3_busy_timeout(db_, busyWaitMilliseconds());
    }
    ~RawFile() { sqlite3_close_v2(db_); }
    RawFile(const RawFile&) = delete;
    RawFile& operator=(const RawFile&) = delete;

    bool isOpen() const { return rc_ == SQLITE_OK; }
    sqlite3* handle() const { return db_; }

private:
    sqlite3* db_ = nullptr;
    int rc_ = SQLITE_ERROR;
};

class Statement {
public:
    Statement(sqlite3* db, const QString& sql)
    {
        const QByteArray text = sql.toUtf8();
        sqlite3_prepare_v2(db, text.constData(), int(text.size()), &stmt_, nullptr);
    }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    sqlite3_stmt* get() const { return stmt_; }
    explicit operator bool() const { return stmt_ != nullptr; }
    int step() { return sqlite3_step(stmt_); }
    QString text(int column) const
    {
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column)),
                                 sqlite3_column_bytes(stmt_, column));
    }

private:
    sqlite3_stmt* stmt_ = nullptr;
};

QSqlError engineError(sqlite3* h)
{
    return QSqlError(QString(), QString::fromUtf8(sqlite3_errmsg(h)), QSqlError::StatementError,
                     QString::number(sqlite3_extended_errcode(h)));
}

bool exec(sqlite3* db, const QString& sql)
{
    return sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

QString quoted(QString name)
{
    name.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + name + QLatin1Char('"');
}

QString folderOf(const QString& path) { return QFileInfo(path).absolutePath(); }

// The online backup from source to dest, some pages at a time so that the
// window can show how far it has come (from..to percent).
bool copyPages(sqlite3* dest, sqlite3* source, const Progress& progress, int from, int to,
               QSqlError* error)
{
    sqlite3_backup* b = sqlite3_backup_init(dest, "main", source, "main");
    if (!b) {
        *error = engineError(dest);
        return false;
    }
    int rc = SQLITE_OK;
    while (rc == SQLITE_OK) {
        rc = sqlite3_backup_step(b, 4096);
        const int total = sqlite3_backup_pagecount(b);
        if (progress && total > 0)
            progress(from + int(qint64(to - from) * (total - sqlite3_backup_remaining(b)) / total));
    }
    const int finish = sqlite3_backup_finish(b);
    if (rc != SQLITE_DONE || finish != SQLITE_OK) {
        *error = engineError(dest);
        return false;
    }
    return true;
}

// A whole copy of the file that source reads, under the name target: written
// under a passing name and renamed when complete. The caller keeps other
// copies of the program from writing meanwhile.
bool copyFile(sqlite3* source, const QString& target, const Progress& progress, int from, int to,
              QSqlError* error)
{
    std::unique_ptr<PartFile> part = PartFile::besideTarget(target);
    if (!part) {
        *error = QSqlError(QString(), QString::fromLocal8Bit(std::strerror(errno)),
                           QSqlError::ConnectionError, QString::number(SQLITE_CANTOPEN));
        return false;
    }
    bool copied = false;
    {
        RawFile out(part->path(), false);
        copied = out.isOpen() ? copyPages(out.handle(), source, progress, from, to, error)
                              : (*error = engineError(out.handle()), false);
    }
    // rename() replaces an existing file in one step: the chosen name holds
    // either the old file or the whole new copy.
    if (copied && std::rename(QFile::encodeName(part->path()).constData(),
                              QFile::encodeName(target).constData()) != 0) {
        *error = QSqlError(QString(), QString::fromLocal8Bit(std::strerror(errno)),
                           QSqlError::ConnectionError, QString::number(SQLITE_CANTOPEN));
        copied = false;
    }
    if (!copied) {
        QFile::remove(part->path() + QStringLiteral("-journal"));
        QFile::remove(part->path());
    }
    return copied;
}

// The backup's table of tests, opened for reading the 21 fields.
struct BackupTests {
    QString table;   // as the file spells it
    int rows = 0;
};

// Reads what a backup file holds; *problem says what is wrong when false.
bool openBackup(const RawFile& file, const QString& path, BackupTests* tests, QString* problem)
{
    const QString shown = shownPath(path);
    auto failed = [&](sqlite3* h) {
        const int code = sqlite3_extended_errcode(h);
        if (code == SQLITE_READONLY_ROLLBACK)
            *problem = QStringLiteral("文件 %1 没有写完：写它的程序在写入中途被停止了，"
                                      "旁边还留着它未完成的日志文件。")
                           .arg(shown);
        else if ((code & 0xff) == SQLITE_NOTADB || (code & 0xff) == SQLITE_CORRUPT)
            *problem = QStringLiteral("文件 %1 不是本程序的数据库文件，或者已经损坏。").arg(shown);
        else
            *problem = describeDatabaseError(engineError(h), path);
        return false;
    };
    if (!file.isOpen())
        return failed(file.handle());

    // The first read shows whether the file is a database at all.
    Statement objects(file.handle(), QStringLiteral("SELECT type, name FROM sqlite_master"));
    if (!objects)
        return failed(file.handle());
    QString type;
    int rc;
    while ((rc = objects.step()) == SQLITE_ROW)
        if (objects.text(1).compare(testRecordTable(), Qt::CaseInsensitive) == 0) {
            tests->table = objects.text(1);
            type = objects.text(0);
        }
    if (rc != SQLITE_DONE)
        return failed(file.handle());
    if (tests->table.isEmpty()) {
        *problem = QStringLiteral("文件 %1 中没有“%2”表，不是本程序的数据库文件。").arg(shown, testRecordTable());
        return false;
    }
    if (type != QLatin1String("table")) {
        *problem = QStringLiteral("文件 %1 中的“%2”不是一个表，不是本程序的数据库文件。")
                       .arg(shown, tests->table);
        return false;
    }

    Statement columns(file.handle(), QStringLiteral("PRAGMA table_info(%1)").arg(quoted(tests->table)));
    if (!columns)
        return failed(file.handle());
    QStringList missing = testRecordFields();
    while ((rc = columns.step()) == SQLITE_ROW)
        for (int i = int(missing.size()) - 1; i >= 0; --i)
            if (missing[i].compare(columns.text(1), Qt::CaseInsensitive) == 0)
                missing.removeAt(i);
    if (rc != SQLITE_DONE)
        return failed(file.handle());
    if (!missing.isEmpty()) {
        *problem = QStringLiteral("文件 %1 的“%2”表缺少字段 %3，不是本程序的数据库文件。")
                       .arg(shown, tests->table, missing.join(QStringLiteral("、")));
        return false;
    }

    Statement count(file.handle(), QStringLiteral("SELECT count(*) FROM %1").arg(quoted(tests->table)));
    if (!count || count.step() != SQLITE_ROW)
        return failed(file.handle());
    tests->rows = sqlite3_column_int(count.get(), 0);
    return true;
}

// The layout of a new zol.mdb as the database layer makes it: the
// statements of its tables, and those of its indexes, which are best built
// after the rows are in.
struct Layout {
    QStringList tables;
    QStringList indexes;
};

bool newDatabaseLayout(Layout* layout)
{
    static Layout made;
    if (made.tables.isEmpty()) {
        QTemporaryDir dir;
        std::unique_ptr<Database> db;
        if (!dir.isValid() || !(db = Database::OpenDatabase(dir.filePath(QStringLiteral("zol.mdb")))))
            return false;
        Statement q(sqliteHandle(db->connection()),
                    QStringLiteral("SELECT type, sql FROM sqlite_master WHERE sql IS NOT NULL "
                                   "AND name NOT LIKE 'sqlite%' ORDER BY rowid"));
        Layout read;
        while (q && q.step() == SQLITE_ROW)
            (q.text(0) == QLatin1String("index") ? read.indexes : read.tables) << q.text(1);
        if (read.tables.isEmpty())
            return false;
        made = read;
    }
    *layout = made;
    return true;
}

// The largest row key the current table has ever given, so that restored
// rows get keys that no window can remember for another row.
qint64 largestKeyUsed(sqlite3* db)
{
    qint64 largest = 0;
    Statement sequence(db, QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name = ?1 COLLATE NOCASE"));
    if (sequence) {
        const QByteArray table = testRecordTable().toUtf8();
        sqlite3_bind_text(sequence.get(), 1, table.constData(), int(table.size()), SQLITE_TRANSIENT);
        while (sequence.step() == SQLITE_ROW)
            largest = qMax(largest, sqlite3_column_int64(sequence.get(), 0));
    }
    // A column of that name would hide the row number under it.
    for (const char* name : {"rowid", "_rowid_", "oid"}) {
        Statement max(db, QStringLiteral("SELECT max(%1) FROM %2")
                              .arg(QLatin1String(name), quoted(testRecordTable())));
        if (max && max.step() == SQLITE_ROW) {
            largest = qMax(largest, sqlite3_column_int64(max.get(), 0));
            Statement shadow(db, QStringLiteral("SELECT 1 FROM pragma_table_info(?1) WHERE name = ?2 COLLATE NOCASE"));
            const QByteArray table = testRecordTable().toUtf8();
            sqlite3_bind_text(shadow.get(), 1, table.constData(), int(table.size()), SQLITE_TRANSIENT);
            sqlite3_bind_text(shadow.get(), 2, name, -1, SQLITE_STATIC);
            if (shadow.step() != SQLITE_ROW)
                break;   // that was the row number itself
        }
    }
    return largest;
}

enum class Kind { Text, Integer, Date };

// As the database layer converts a text for a column of that declared type.
Kind kindOf(const QString& field, const QString& declaredType)
{
    if (field == testRecordFields().last())
        return Kind::Date;
    return declaredType.contains(QLatin1String("INT"), Qt::CaseInsensitive) ? Kind::Integer : Kind::Text;
}

bool isStoredDate(const char* s, int n)
{
    if (n != 10 || s[4] != '-' || s[7] != '-')
        return false;
    for (int i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (s[i] < '0' || s[i] > '9')
            return false;
    auto num = [&](int at, int len) {
        int v = 0;
        for (int i = at; i < at + len; ++i)
            v = v * 10 + (s[i] - '0');
        return v;
    };
    return QDate(num(0, 4), num(5, 2), num(8, 2)).isValid();
}

// Binds a value of the backup into slot of the insert as a save stores it:
// whole numbers for the scores, yyyy-MM-dd for the date. False with *why
// (what is wrong with the value) when a save would refuse it.
bool bindConverted(sqlite3_stmt* insert, int slot, Kind kind, sqlite3_stmt* read, int column, QString* why)
{
    const int type = sqlite3_column_type(read, column);
    if (type == SQLITE_NULL)
        return sqlite3_bind_null(insert, slot) == SQLITE_OK;
    if (type == SQLITE_BLOB) {
        *why = QStringLiteral("是二进制数据，不是文字");
        return false;
    }
    // Texts stay valid until the next row is read, after the insert has run.
    if (kind == Kind::Integer && type == SQLITE_INTEGER) {
        const qint64 n = sqlite3_column_int64(read, column);
        if (n < INT32_MIN || n > INT32_MAX) {
            *why = QStringLiteral("的值“%1”超出了允许的范围").arg(n);
            return false;
        }
        return sqlite3_bind_int64(insert, slot, n) == SQLITE_OK;
    }
    const char* text = reinterpret_cast<const char*>(sqlite3_column_text(read, column));
    const int bytes = sqlite3_column_bytes(read, column);
    auto shown = [&] { return QStringLiteral("“%1”").arg(QString::fromUtf8(text, qMin(bytes, 60))); };
    switch (kind) {
    case Kind::Text:
        return sqlite3_bind_text(insert, slot, text, bytes, SQLITE_STATIC) == SQLITE_OK;
    case Kind::Integer: {
        double value = 0;
        if (type == SQLITE_FLOAT) {
            value = sqlite3_column_double(read, column);
        } else {
            const QString trimmed = QString::fromUtf8(text, bytes).trimmed();
            if (trimmed.isEmpty())
                return sqlite3_bind_null(insert, slot) == SQLITE_OK;
            if (!IsNumeric(trimmed)) {
                *why = QStringLiteral("的值%1不是数字（要求一个整数）").arg(shown());
                return false;
            }
            value = Val(trimmed);
        }
        const auto n = toInt32(value);
        if (!n) {
            *why = QStringLiteral("的值%1超出了允许的范围").arg(shown());
            return false;
        }
        return sqlite3_bind_int(insert, slot, *n) == SQLITE_OK;
    }
    case Kind::Date: {
        if (isStoredDate(text, bytes))
            return sqlite3_bind_text(insert, slot, text, bytes, SQLITE_STATIC) == SQLITE_OK;
        const QString trimmed = QString::fromUtf8(text, bytes).trimmed();
        if (trimmed.isEmpty())
            return sqlite3_bind_null(insert, slot) == SQLITE_OK;
        const QDate date = parseDateText(trimmed);
        if (!date.isValid()) {
            *why = QStringLiteral("的值%1不是有效的日期").arg(shown());
            return false;
        }
        const QByteArray stored = ShortDate(date).toUtf8();
        return sqlite3_bind_text(insert, slot, stored.constData(), int(stored.size()), SQLITE_TRANSIENT)
               == SQLITE_OK;
    }
    }
    return false;
}

// Inside the caller's write transaction on live: removes everything the
// file holds, makes the program's own table and fills it with the rows of
// the backup. *message says what failed.
bool replaceTests(sqlite3* live, const QString& livePath, const RawFile& backup,
                  const QString& backupPath, const BackupTests& tests, const Progress& progress,
                  int from, int* rows, QString* message)
{
    auto engineFailed = [&](sqlite3* h, const QString& path) {
        *message = describeDatabaseError(engineError(h), path);
        return false;
    };
    Layout layout;
    if (!newDatabaseLayout(&layout)) {
        *message = QStringLiteral("无法建立新的“%1”表。").arg(testRecordTable());
        return false;
    }
    const qint64 firstKey = largestKeyUsed(live) + 1;

    // Triggers and views first: they may name the tables.
    QList<QPair<QString, QString>> objects;
    {
        Statement q(live, QStringLiteral("SELECT type, name FROM sqlite_master WHERE type IN "
                                         "('trigger', 'view', 'table') AND name NOT LIKE 'sqlite%' "
                                         "ORDER BY type = 'table', type = 'view'"));
        int rc = SQLITE_ERROR;
        while (q && (rc = q.step()) == SQLITE_ROW)
            objects << qMakePair(q.text(0), q.text(1));
        if (rc != SQLITE_DONE)
            return engineFailed(live, livePath);
    }
    for (const auto& [type, name] : objects)
        if (!exec(live, QStringLiteral("DROP %1 IF EXISTS %2").arg(type.toUpper(), quoted(name))))
            return engineFailed(live, livePath);
    for (const QString& sql : layout.tables)
        if (!exec(live, sql))
            return engineFailed(live, livePath);
    {
        Statement start(live, QStringLiteral("INSERT INTO sqlite_sequence (name, seq) VALUES (?1, ?2)"));
        const QByteArray table = testRecordTable().toUtf8();
        sqlite3_bind_text(start.get(), 1, table.constData(), int(table.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int64(start.get(), 2, firstKey - 1);
        if (!start || start.step() != SQLITE_DONE)
            return engineFailed(live, livePath);
    }

    const QStringList& fields = testRecordFields();
    QList<Kind> kinds;
    {
        Statement info(live, QStringLiteral("PRAGMA table_info(%1)").arg(quoted(testRecordTable())));
        QHash<QString, QString> declared;
        while (info && info.step() == SQLITE_ROW)
            declared.insert(info.text(1), info.text(2));
        for (const QString& f : fields)
            kinds << kindOf(f, declared.value(f));
    }
    QStringList names, marks;
    for (const QString& f : fields) {
        names << quoted(f);
        marks << QStringLiteral("?");
    }
    Statement read(backup.handle(), QStringLiteral("SELECT %1 FROM %2")
                                        .arg(names.join(QLatin1Char(',')), quoted(tests.table)));
    if (!read) {
        *message = QStringLiteral("无法读取备份文件 %1 中的测试记录。%2")
                       .arg(shownPath(backupPath), describeDatabaseError(engineError(backup.handle()), backupPath));
        return false;
    }
    Statement insert(live, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                               .arg(quoted(testRecordTable()), names.join(QLatin1Char(',')),
                                    marks.join(QLatin1Char(','))));
    if (!insert)
        return engineFailed(live, livePath);
    int count = 0;
    int rc;
    while ((rc = read.step()) == SQLITE_ROW) {
        for (int f = 0; f < fields.size(); ++f) {
            QString why;
            if (!bindConverted(insert.get(), f + 1, kinds[f], read.get(), f, &why)) {
                *message = QStringLiteral("备份文件 %1 中第 %2 条测试记录的字段“%3”%4。")
                               .arg(shownPath(backupPath))
                               .arg(count + 1)
                               .arg(fields[f], why);
                return false;
            }
        }
        if (insert.step() != SQLITE_DONE)
            return engineFailed(live, livePath);
        sqlite3_reset(insert.get());
        if (++count % 4096 == 0 && progress && tests.rows > 0)
            progress(from + int(qint64(95 - from) * qMin(count, tests.rows) / tests.rows));
    }
    if (rc != SQLITE_DONE) {
        *message = QStringLiteral("备份文件 %1 在第 %2 条测试记录处无法读取，它不完整或者已经损坏。")
                       .arg(shownPath(backupPath))
                       .arg(count + 1);
        return false;
    }
    for (const QString& sql : layout.indexes)
        if (!exec(live, sql))
            return engineFailed(live, livePath);
    *rows = count;
    return true;
}

} // namespace

bool isSameFile(const QString& a, const QString& b)
{
    struct stat sa {}, sb {};
    if (::stat(QFile::encodeName(a).constData(), &sa) == 0 && ::stat(QFile::encodeName(b).constData(), &sb) == 0)
        return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
    return QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

BackupCheck checkBackupFile(const QString& path)
{
    BackupCheck check;
    if (!QFileInfo(path).isFile()) {
        check.problem = QStringLiteral("找不到文件 %1。").arg(shownPath(path));
        return check;
    }
    const RawFile file(path, true);
    BackupTests tests;
    check.ok = openBackup(file, path, &tests, &check.problem);
    check.rows = tests.rows;
    return check;
}

bool backupDatabase(const QString& source, const QString& target, int* rows, const Progress& progress)
{
    if (isSameFile(source, target)) {
        ErrorBox(QStringLiteral("不能把数据备份到数据库文件 %1 本身，请另选一个文件。").arg(shownPath(target)));
        return false;
    }
    if (!QFileInfo(source).isFile()) {
        ErrorBox(QStringLiteral("找不到数据库文件 %1，没有可以备份的数据。").arg(shownPath(source)));
        return false;
    }
    removeLeftoverFiles(folderOf(target));
    std::unique_ptr<Database> db = Database::OpenDatabase(source);
    if (!db)
        return false;   // reported
    sqlite3* live = sqliteHandle(db->connection());

    // One read transaction over the count and the copy: both see the same
    // rows, and a save of another copy waits for the copy's end rather than
    // making it start again.
    int count = 0;
    QSqlError error;
    bool copied = exec(live, QStringLiteral("BEGIN"));
    if (copied) {
        Statement q(live, QStringLiteral("SELECT count(*) FROM %1").arg(quoted(testRecordTable())));
        copied = q && q.step() == SQLITE_ROW;
        count = copied ? sqlite3_column_int(q.get(), 0) : 0;
    }
    if (!copied)
        error = engineError(live);
    copied = copied && copyFile(live, target, progress, 0, 100, &error);
    exec(live, QStringLiteral("ROLLBACK"));
    if (!copied) {
        ErrorBox(QStringLiteral("备份没有完成，文件 %1 没有写入。%2")
                     .arg(shownPath(target), describeDatabaseError(error, target)));
        return false;
    }
    if (rows)
        *rows = count;
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

bool restoreDatabase(const QString& current, const QString& backup, QString* safety, int* rows,
                     const Progress& progress)
{
    const QString unchanged = QStringLiteral("数据没有恢复，数据库文件 %1 保持原样。").arg(shownPath(current));
    if (isSameFile(current, backup)) {
        ErrorBox(QStringLiteral("所选文件就是正在使用的数据库文件 %1，请选择一个备份文件。")
                     .arg(shownPath(current)));
        return false;
    }
    removeLeftoverFiles(folderOf(current));
    const RawFile in(backup, true);
    BackupTests tests;
    QString problem;
    if (!openBackup(in, backup, &tests, &problem)) {
        ErrorBox(problem + unchanged);
        return false;
    }
    const bool existed = QFileInfo(current).isFile();
    std::unique_ptr<Database> db = Database::OpenDatabase(current);
    if (!db)
        return false;   // reported
    sqlite3* live = sqliteHandle(db->connection());
    exec(live, QStringLiteral("PRAGMA cache_size=-65536"));

    // From here to the commit no other copy of the program can store a
    // test: what it saved before is in the safety copy, what it saves after
    // goes into the restored data.
    if (!db->BeginTrans())
        return false;   // reported
    QString copy;
    if (existed) {
        copy = safetyCopyPath(current);
        QSqlError error;
        bool copied = false;
        {
            // A reader beside the writing connection, which the online
            // backup cannot read from while it holds the write lock.
            const RawFile reader(current, true);
            copied = reader.isOpen() ? copyFile(reader.handle(), copy, progress, 0, 40, &error)
                                     : (error = engineError(reader.handle()), false);
        }
        if (!copied) {
            db->Rollback();
            ErrorBox(QStringLiteral("无法先另存现有数据（%1），没有恢复。%2")
                         .arg(shownPath(copy), describeDatabaseError(error, copy)));
            return false;
        }
    }
    int restored = 0;
    QString message;
    if (!replaceTests(live, current, in, backup, tests, progress, existed ? 40 : 0, &restored, &message)
        || !db->CommitTrans()) {
        db->Rollback();
        if (!copy.isEmpty())
            QFile::remove(copy);
        if (!message.isEmpty())
            ErrorBox(message + unchanged);
        return false;
    }
    if (progress)
        progress(100);
    db.reset();
    announceDatabaseReplaced(QFileInfo(current).absoluteFilePath());
    if (safety)
        *safety = copy;
    if (rows)
        *rows = restored;
    return true;
}

} // namespace zol
