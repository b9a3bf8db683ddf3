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
#include <QRegularExpression>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <sqlite3.h>
#include <thread>
#include <sys/stat.h>
#include <unistd.h>

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
        for (const QString& pragma : extraConnectionPragmas())
            if (rc_ == SQLITE_OK)
                sqlite3_exec(db_, pragma.toUtf8().constData(), nullptr, nullptr, nullptr);
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

// The error a step of the online backup returned, which the engine keeps on
// neither connection until the backup is finished.
QSqlError stepError(int rc)
{
    return QSqlError(QString(), QString::fromUtf8(sqlite3_errstr(rc)), QSqlError::StatementError,
                     QString::number(rc));
}

// An error of the system (errno) in the engine's terms, so that the one
// function that words the engine's errors says it too.
QSqlError systemError(int err)
{
    int code = SQLITE_IOERR;
    if (err == ENOSPC || err == EDQUOT)
        code = SQLITE_FULL;
    else if (err == EACCES || err == EPERM || err == EROFS)
        code = SQLITE_CANTOPEN;
    return QSqlError(QString(), QString::fromLocal8Bit(std::strerror(err)), QSqlError::ConnectionError,
                     QString::number(code));
}

bool exec(sqlite3* db, const QString& sql)
{
    return sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

QString folderOf(const QString& path) { return QFileInfo(path).absolutePath(); }

// A database file written under a passing name beside its target, through
// a connection of its own. Unless it is kept under the target's name, it is
// removed with its journal however the work ends, after its connection is
// closed (partfiles.h says why in that order).
class ScratchFile {
public:
    explicit ScratchFile(const QString& target)
        : part_(PartFile::besideTarget(target)), madeError_(part_ ? 0 : errno)
    {
        if (part_)
            db_.emplace(part_->path(), false);
    }
    ~ScratchFile()
    {
        db_.reset();
        if (part_ && !kept_) {
            QFile::remove(part_->path() + QStringLiteral("-journal"));
            QFile::remove(part_->path());
        }
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    bool isOpen() const { return db_ && db_->isOpen(); }
    sqlite3* handle() const { return db_ ? db_->handle() : nullptr; }
    // Why the file could not be made or opened.
    QSqlError openError() const { return part_ ? engineError(handle()) : systemError(madeError_); }

    // Closes the connection and gives the file the target's name in one
    // step: rename() replaces an existing file, so that the name holds
    // either the old file or the whole new one.
    bool keepAs(const QString& target, QSqlError* error)
    {
        db_.reset();
        kept_ = std::rename(QFile::encodeName(part_->path()).constData(),
                            QFile::encodeName(target).constData())
                == 0;
        if (!kept_)
            *error = systemError(errno);
        return kept_;
    }

private:
    std::unique_ptr<PartFile> part_;
    int madeError_;
    std::optional<RawFile> db_;
    bool kept_ = false;
};

// Takes the online backup b on from a step that returned rc to its end,
// some pages at a time so that the window can show how far it has come
// (from..to percent), and finishes it. SQLITE_OK when the whole copy is
// done, else the engine's error.
int stepToEnd(sqlite3_backup* b, int rc, const Progress& progress, int from, int to)
{
    while (rc == SQLITE_OK) {
        rc = sqlite3_backup_step(b, 4096);
        const int total = sqlite3_backup_pagecount(b);
        if (progress && total > 0)
            progress(from + int(qint64(to - from) * (total - sqlite3_backup_remaining(b)) / total));
    }
    const int finished = sqlite3_backup_finish(b);
    return rc == SQLITE_DONE ? finished : rc;
}

// The online backup from source to dest (from..to percent).
bool copyPages(sqlite3* dest, sqlite3* source, const Progress& progress, int from, int to,
               QSqlError* error)
{
    sqlite3_backup* b = sqlite3_backup_init(dest, "main", source, "main");
    if (!b) {
        *error = engineError(dest);
        return false;
    }
    const int rc = stepToEnd(b, SQLITE_OK, progress, from, to);
    if (rc != SQLITE_OK)
        *error = stepError(rc);
    return rc == SQLITE_OK;
}

// A whole copy of the file that source reads, under the name target: written
// under a passing name and renamed when complete. The caller keeps other
// copies of the program from writing meanwhile.
bool copyFile(sqlite3* source, const QString& target, const Progress& progress, int from, int to,
              QSqlError* error)
{
    ScratchFile copy(target);
    if (!copy.isOpen()) {
        *error = copy.openError();
        return false;
    }
    return copyPages(copy.handle(), source, progress, from, to, error) && copy.keepAs(target, error);
}

// The file under a connection, as the engine itself reads it.
sqlite3_file* fileOf(sqlite3* db)
{
    sqlite3_file* file = nullptr;
    if (sqlite3_file_control(db, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK || !file
        || !file->pMethods)
        return nullptr;
    return file;
}

// The file's change counter (header bytes 24 to 27): another value means
// another content.
quint32 changeCounter(sqlite3_file* file)
{
    unsigned char b[4] = {};
    if (file->pMethods->xRead(file, b, 4, 24) != SQLITE_OK)
        return 0;
    return quint32(b[0]) << 24 | quint32(b[1]) << 16 | quint32(b[2]) << 8 | b[3];
}

// A copy of the bytes of a database file whose connection holds its
// exclusive lock (so that they are one committed state), read through that
// connection's own file: another descriptor of the file, once closed, would
// take this process's locks on it with it. Written under a passing name and
// renamed when complete.
bool copyLockedFile(sqlite3_file* file, const QString& target, QSqlError* error)
{
    sqlite3_int64 size = 0;
    if (file->pMethods->xFileSize(file, &size) != SQLITE_OK) {
        *error = stepError(SQLITE_IOERR);
        return false;
    }
    std::unique_ptr<PartFile> part = PartFile::besideTarget(target);
    if (!part) {
        *error = systemError(errno);
        return false;
    }
    // Written through the descriptor the part was made with, so that a
    // failure's errno is the write's own (a full disk, say).
    const int fd = part->handle();
    QByteArray buffer(4 << 20, Qt::Uninitialized);
    bool ok = true;
    for (sqlite3_int64 at = 0; ok && at < size;) {
        const int n = int(qMin<sqlite3_int64>(buffer.size(), size - at));
        if (file->pMethods->xRead(file, buffer.data(), n, at) != SQLITE_OK) {
            *error = stepError(SQLITE_IOERR);
            ok = false;
        }
        for (int done = 0; ok && done < n;) {
            const ssize_t w = ::pwrite(fd, buffer.constData() + done, size_t(n - done), at + done);
            if (w < 0 && errno == EINTR)
                continue;
            if (w <= 0) {
                *error = systemError(w < 0 ? errno : ENOSPC);
                ok = false;
            } else {
                done += int(w);
            }
        }
        at += n;
    }
    if (ok && (::fsync(fd) != 0
               || std::rename(QFile::encodeName(part->path()).constData(), QFile::encodeName(target).constData())
                      != 0)) {
        *error = systemError(errno);
        ok = false;
    }
    if (!ok)
        QFile::remove(part->path());
    return ok;
}

// Whether target is a name the engine keeps beside the database at live:
// its journal, its write-ahead log or their shared memory.
bool isEngineFileOf(const QString& live, const QString& target)
{
    const QFileInfo database(live), named(target);
    if (!isSameFile(database.absolutePath(), named.absolutePath()))
        return false;
    for (const char* suffix : {"-journal", "-wal", "-shm"})
        if (named.fileName() == database.fileName() + QLatin1String(suffix))
            return true;
    return false;
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

    Statement columns(file.handle(), QStringLiteral("PRAGMA table_info(%1)").arg(quoteIdentifier(tests->table)));
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

    Statement count(file.handle(), QStringLiteral("SELECT count(*) FROM %1").arg(quoteIdentifier(tests->table)));
    if (!count || count.step() != SQLITE_ROW)
        return failed(file.handle());
    tests->rows = sqlite3_column_int(count.get(), 0);
    return true;
}

// The largest row key the current table has ever given, so that restored
// rows get keys that no window can remember for another row. False when the
// file could not be read (a table or column that is not there is no
// failure: such a file simply has no keys of that kind).
bool largestKeyUsed(sqlite3* db, qint64* largest)
{
    auto readable = [db](const Statement& q) { return q || sqlite3_errcode(db) == SQLITE_ERROR; };
    *largest = 0;
    Statement sequence(db, QStringLiteral("SELECT seq FROM main.sqlite_sequence WHERE name = ?1 COLLATE NOCASE"));
    if (!readable(sequence))
        return false;
    if (sequence) {
        const QByteArray table = testRecordTable().toUtf8();
        sqlite3_bind_text(sequence.get(), 1, table.constData(), int(table.size()), SQLITE_TRANSIENT);
        int rc;
        while ((rc = sequence.step()) == SQLITE_ROW)
            *largest = qMax(*largest, sqlite3_column_int64(sequence.get(), 0));
        if (rc != SQLITE_DONE)
            return false;
    }
    // A column of that name would hide the row number under it.
    for (const char* name : {"rowid", "_rowid_", "oid"}) {
        Statement max(db, QStringLiteral("SELECT max(%1) FROM main.%2")
                              .arg(QLatin1String(name), quoteIdentifier(testRecordTable())));
        if (!readable(max))
            return false;
        if (!max)
            continue;
        if (max.step() != SQLITE_ROW)
            return false;
        *largest = qMax(*largest, sqlite3_column_int64(max.get(), 0));
        Statement shadow(db, QStringLiteral("SELECT 1 FROM pragma_table_info(?1, 'main') WHERE name = ?2 COLLATE NOCASE"));
        const QByteArray table = testRecordTable().toUtf8();
        sqlite3_bind_text(shadow.get(), 1, table.constData(), int(table.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(shadow.get(), 2, name, -1, SQLITE_STATIC);
        if (shadow.step() != SQLITE_ROW)
            break;   // that was the row number itself
    }
    return true;
}

// Whether a text is a date as a save stores it (yyyy-MM-dd, a real day).
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
bool bindConverted(sqlite3_stmt* insert, int slot, FieldKind kind, sqlite3_stmt* read, int column, QString* why)
{
    const int type = sqlite3_column_type(read, column);
    if (type == SQLITE_NULL)
        return sqlite3_bind_null(insert, slot) == SQLITE_OK;
    if (type == SQLITE_BLOB) {
        *why = QStringLiteral("是二进制数据，不是文字");
        return false;
    }
    // Texts stay valid until the next row is read, after the insert has run.
    if (kind == FieldKind::Integer && type == SQLITE_INTEGER) {
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
    if (kind == FieldKind::Text || (kind == FieldKind::Date && isStoredDate(text, bytes)))
        return sqlite3_bind_text(insert, slot, text, bytes, SQLITE_STATIC) == SQLITE_OK;
    ValueFault fault = ValueFault::OutOfRange;
    std::optional<QVariant> value;
    if (kind == FieldKind::Integer && type == SQLITE_FLOAT) {
        if (const auto n = toInt32(sqlite3_column_double(read, column)))
            value = QVariant(*n);
    } else {
        value = storedValue(kind, QString::fromUtf8(text, bytes), &fault);
    }
    if (!value) {
        switch (fault) {
        case ValueFault::NotANumber:
            *why = QStringLiteral("的值%1不是数字（要求一个整数）").arg(shown());
            break;
        case ValueFault::OutOfRange:
            *why = QStringLiteral("的值%1超出了允许的范围").arg(shown());
            break;
        case ValueFault::NotADate:
            *why = QStringLiteral("的值%1不是有效的日期").arg(shown());
            break;
        }
        return false;
    }
    if (value->isNull())
        return sqlite3_bind_null(insert, slot) == SQLITE_OK;
    if (kind == FieldKind::Integer)
        return sqlite3_bind_int(insert, slot, value->toInt()) == SQLITE_OK;
    const QByteArray stored = value->toString().toUtf8();
    return sqlite3_bind_text(insert, slot, stored.constData(), int(stored.size()), SQLITE_TRANSIENT) == SQLITE_OK;
}

// The name under which the backup is attached to the database's connection.
const QString kAttached = QStringLiteral("zolbackup");

bool copyRowByRow(sqlite3* live, const QString& livePath, const RawFile& backup,
                  const QString& backupPath, const BackupTests& tests, const QList<FieldKind>& kinds,
                  const QString& columns, int* rows, QString* message);
bool attachPlainBackup(sqlite3* live, const RawFile& in, const QString& path);

// Makes the next key of the new table come after last.
bool setSequence(sqlite3* live, qint64 last)
{
    exec(live, QStringLiteral("DELETE FROM main.sqlite_sequence"));
    Statement start(live, QStringLiteral("INSERT INTO main.sqlite_sequence (name, seq) VALUES (?1, ?2)"));
    const QByteArray table = testRecordTable().toUtf8();
    sqlite3_bind_text(start.get(), 1, table.constData(), int(table.size()), SQLITE_TRANSIENT);
    sqlite3_bind_int64(start.get(), 2, last);
    return start && start.step() == SQLITE_DONE;
}

// What zol_checked learns of the rows it is shown.
struct RowCheck {
    QList<FieldKind> kinds;        // of the fields, in the order of the values
    bool converted = false;   // a save would store a value otherwise, or refuse it
};

// Whether a save would store one of the values of a row otherwise than it
// is, or refuse it.
bool storedOtherwise(const QList<FieldKind>& kinds, int count, sqlite3_value** values)
{
    for (int i = 0; i < count; ++i) {
        const int type = sqlite3_value_type(values[i]);
        if (type == SQLITE_NULL)
            continue;
        switch (kinds[i]) {
        case FieldKind::Text:
            if (type == SQLITE_BLOB)
                return true;
            break;
        case FieldKind::Integer: {
            const qint64 n = sqlite3_value_int64(values[i]);
            if (type != SQLITE_INTEGER || n < INT32_MIN || n > INT32_MAX)
                return true;
            break;
        }
        case FieldKind::Date:
            if (type != SQLITE_TEXT
                || !isStoredDate(reinterpret_cast<const char*>(sqlite3_value_text(values[i])),
                                 sqlite3_value_bytes(values[i])))
                return true;
            break;
        }
    }
    return false;
}

// zol_checked(v1, ..., v21): true; notes in its RowCheck when a save would
// store one of the values otherwise, or refuse it.
void noteConverted(sqlite3_context* context, int count, sqlite3_value** values)
{
    auto* check = static_cast<RowCheck*>(sqlite3_user_data(context));
    if (!check->converted)
        check->converted = storedOtherwise(check->kinds, count, values);
    sqlite3_result_int(context, 1);
}

// Percent done of the replacement, from the engine's count of steps (some
// hundred for each stored test, its copy and its index entry together),
// which the engine reports also in the middle of one long statement.
struct OpsProgress {
    static constexpr int kEvery = 1 << 16;
    const Progress& progress;
    int from;
    int rows;
    int to;   // percent when the work is done
    qint64 ops = 0;
    static int handler(void* self)
    {
        auto* p = static_cast<OpsProgress*>(self);
        p->ops += kEvery;
        if (p->progress && p->rows > 0)
            p->progress(p->from + int(qMin<qint64>(p->to - p->from, (p->to - p->from) * p->ops / (qint64(p->rows) * 150))));
        return 0;
    }
};

// Fills the file that out writes (new, empty, of the program's own layout
// but for its indexes) with the rows of the backup, keys from firstKey on,
// and makes the indexes. *message says what failed.
bool buildTests(sqlite3* out, const QString& livePath, const RawFile& backup,
                const QString& backupPath, const BackupTests& tests, const QStringList& indexes,
                qint64 firstKey, const Progress& progress, int from, int* rows, QString* message)
{
    auto engineFailed = [&](sqlite3* h, const QString& path) {
        *message = describeDatabaseError(engineError(h), path, DatabaseWork::Restore);
        return false;
    };
    if (progress)
        progress(from);
    OpsProgress ops{progress, from, tests.rows, 60};
    sqlite3_progress_handler(out, OpsProgress::kEvery, &OpsProgress::handler, &ops);
    const std::unique_ptr<sqlite3, void (*)(sqlite3*)> quiet(
        out, [](sqlite3* h) { sqlite3_progress_handler(h, 0, nullptr, nullptr); });
    // Attached before the transaction begins, which ATTACH cannot be inside
    // of; detached again however this ends.
    const bool attached = attachPlainBackup(out, backup, backupPath);
    const std::unique_ptr<sqlite3, void (*)(sqlite3*)> detach(attached ? out : nullptr, [](sqlite3* h) {
        exec(h, QStringLiteral("DETACH %1").arg(kAttached));
    });
    if (!exec(out, QStringLiteral("BEGIN")) || !setSequence(out, firstKey - 1))
        return engineFailed(out, livePath);

    const QStringList& fields = testRecordFields();
    QList<FieldKind> kinds;
    {
        Statement info(out, QStringLiteral("PRAGMA main.table_info(%1)").arg(quoteIdentifier(testRecordTable())));
        QHash<QString, QString> declared;
        while (info && info.step() == SQLITE_ROW)
            declared.insert(info.text(1), info.text(2));
        for (const QString& f : fields)
            kinds << fieldKind(f, declared.value(f));
    }
    QStringList names;
    for (const QString& f : fields)
        names << quoteIdentifier(f);
    int count = 0;
    const QString columns = names.join(QLatin1Char(','));
    bool copied = false;
    if (attached) {
        // Where nothing is to be converted the engine copies the rows by
        // itself, several times faster than row by row; a file with a value
        // to convert or refuse goes row by row after all. Each row is checked
        // in the very statement that copies it, so that whatever another
        // program writes into the backup meanwhile, what is copied is what
        // was checked.
        RowCheck check{kinds};
        const QByteArray function = QByteArrayLiteral("zol_checked");
        if (sqlite3_create_function(out, function.constData(), int(kinds.size()), SQLITE_UTF8 | SQLITE_DIRECTONLY,
                                    &check, &noteConverted, nullptr, nullptr)
            != SQLITE_OK)
            return engineFailed(out, livePath);
        const bool inserted =
            exec(out, QStringLiteral("INSERT INTO main.%1 (%2) SELECT %2 FROM %3.%4 WHERE %5(%2)")
                          .arg(quoteIdentifier(testRecordTable()), columns, kAttached, quoteIdentifier(tests.table),
                               QString::fromLatin1(function)));
        sqlite3_create_function(out, function.constData(), int(kinds.size()), SQLITE_UTF8, nullptr, nullptr,
                                nullptr, nullptr);   // check goes out of scope
        if (!inserted)
            return engineFailed(out, livePath);
        count = sqlite3_changes(out);
        copied = !check.converted;
        if (!copied && !(exec(out, QStringLiteral("DELETE FROM main.%1").arg(quoteIdentifier(testRecordTable())))
                         && setSequence(out, firstKey - 1)))
            return engineFailed(out, livePath);
    }
    if (!copied && !copyRowByRow(out, livePath, backup, backupPath, tests, kinds, columns, &count, message))
        return false;
    // The indexes come after the rows: sorting once costs less than
    // inserting each entry where it belongs.
    for (const QString& sql : indexes)
        if (!exec(out, sql))
            return engineFailed(out, livePath);
    if (!exec(out, QStringLiteral("COMMIT")))
        return engineFailed(out, livePath);
    *rows = count;
    return true;
}

// Reads the backup through its own connection and stores each row as a
// save would convert it; says which value a save would refuse.
bool copyRowByRow(sqlite3* live, const QString& livePath, const RawFile& backup,
                  const QString& backupPath, const BackupTests& tests, const QList<FieldKind>& kinds,
                  const QString& columns, int* rows, QString* message)
{
    const QStringList& fields = testRecordFields();
    QStringList marks;
    for (int i = 0; i < fields.size(); ++i)
        marks << QStringLiteral("?");
    Statement read(backup.handle(), QStringLiteral("SELECT %1 FROM %2").arg(columns, quoteIdentifier(tests.table)));
    if (!read) {
        *message = QStringLiteral("无法读取备份文件 %1 中的测试记录。%2")
                       .arg(shownPath(backupPath), describeDatabaseError(engineError(backup.handle()), backupPath));
        return false;
    }
    Statement insert(live, QStringLiteral("INSERT INTO main.%1 (%2) VALUES (%3)")
                               .arg(quoteIdentifier(testRecordTable()), columns, marks.join(QLatin1Char(','))));
    if (!insert) {
        *message = describeDatabaseError(engineError(live), livePath, DatabaseWork::Restore);
        return false;
    }
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
        if (insert.step() != SQLITE_DONE) {
            *message = describeDatabaseError(engineError(live), livePath, DatabaseWork::Restore);
            return false;
        }
        sqlite3_reset(insert.get());
        ++count;
    }
    if (rc != SQLITE_DONE) {
        *message = QStringLiteral("备份文件 %1 在第 %2 条测试记录处无法读取，它不完整或者已经损坏。")
                       .arg(shownPath(backupPath))
                       .arg(count + 1);
        return false;
    }
    *rows = count;
    return true;
}

// Attaches the backup to the connection that builds the new tests, when the
// engine can copy its rows itself: a file in the same encoding and not in
// WAL mode (whose reading would write beside it). False, and nothing
// attached, otherwise.
bool attachPlainBackup(sqlite3* live, const RawFile& in, const QString& path)
{
    auto pragma = [](sqlite3* h, const char* name) {
        Statement q(h, QStringLiteral("PRAGMA %1").arg(QLatin1String(name)));
        return q && q.step() == SQLITE_ROW ? q.text(0) : QString();
    };
    const QFileInfo info(path);
    if (pragma(in.handle(), "encoding") != pragma(live, "encoding")
        || pragma(in.handle(), "journal_mode").compare(QLatin1String("wal"), Qt::CaseInsensitive) == 0)
        return false;
    Statement attach(live, QStringLiteral("ATTACH ?1 AS %1").arg(kAttached));
    const QByteArray name = QFile::encodeName(info.absoluteFilePath());
    sqlite3_bind_text(attach.get(), 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
    return attach && attach.step() == SQLITE_DONE;
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
    // The engine takes a file of such a name for its own and deletes it when
    // the database is next opened; a passing name is the program's to clean.
    if (isEngineFileOf(source, target)) {
        ErrorBox(QStringLiteral("不能把数据备份到 %1：数据库引擎把这个名字的文件当作数据库文件 %2 的日志，"
                                "下次打开数据库时会把它删除。请另选一个文件名。")
                     .arg(shownPath(target), shownPath(source)));
        return false;
    }
    if (PartFile::isPassingName(QFileInfo(target).fileName())) {
        ErrorBox(QStringLiteral("不能把数据备份到 %1：这种名字留给本程序写到一半的临时文件，"
                                "这样的文件会被清理掉。请另选一个文件名。")
                     .arg(shownPath(target)));
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
    bool read = exec(live, QStringLiteral("BEGIN"));
    if (read) {
        Statement q(live, QStringLiteral("SELECT count(*) FROM %1").arg(quoteIdentifier(testRecordTable())));
        read = q && q.step() == SQLITE_ROW;
        count = read ? sqlite3_column_int(q.get(), 0) : 0;
    }
    // A failure to read is the database's, any other the backup file's.
    QSqlError error = read ? QSqlError() : engineError(live);
    const bool copied = read && copyFile(live, target, progress, 0, 100, &error);
    exec(live, QStringLiteral("ROLLBACK"));
    if (!copied) {
        ErrorBox(QStringLiteral("备份没有完成，文件 %1 没有写入。%2")
                     .arg(shownPath(target), read ? describeDatabaseError(error, target, DatabaseWork::Backup)
                                                  : describeDatabaseError(error, source)));
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
    auto refuse = [&](const QString& why) {
        ErrorBox(why + unchanged);
        return false;
    };
    auto refuseFor = [&](const QSqlError& error) {
        return refuse(describeDatabaseError(error, current, DatabaseWork::Restore));
    };
    if (isSameFile(current, backup)) {
        ErrorBox(QStringLiteral("所选文件就是正在使用的数据库文件 %1，请选择一个备份文件。")
                     .arg(shownPath(current)));
        return false;
    }
    removeLeftoverFiles(folderOf(current));
    const RawFile in(backup, true);
    BackupTests tests;
    QString problem;
    if (!openBackup(in, backup, &tests, &problem))
        return refuse(problem);
    const bool existed = QFileInfo(current).isFile();
    std::unique_ptr<Database> db = Database::OpenDatabase(current);
    if (!db)
        return false;   // reported
    // A file, or a folder, that may not be written is said before anything
    // is made beside it.
    if (db->isReadOnly())
        return refuseFor(stepError(SQLITE_READONLY));
    sqlite3* live = sqliteHandle(db->connection());
    const QStringList& layout = recordTableStatements();
    const QStringList indexes = layout.filter(QRegularExpression(QStringLiteral("^CREATE\\s+INDEX")));

    // The tests are written into a new file of the program's own making
    // beside the database, which then replaces the database's pages in one
    // step of the engine's online backup: nothing of the backup's own
    // layout, triggers or settings comes along. The new file goes however
    // the restore ends.
    const ScratchFile fresh(current);
    sqlite3* out = fresh.handle();
    if (!fresh.isOpen())
        return refuseFor(fresh.openError());
    int pageSize = 0;
    {
        Statement q(live, QStringLiteral("PRAGMA page_size"));
        if (q && q.step() == SQLITE_ROW)
            pageSize = sqlite3_column_int(q.get(), 0);
    }
    // The new file is thrown away on any failure: it needs no journal. Its
    // index is sorted by helper threads.
    const int sorters = qBound(0, int(std::thread::hardware_concurrency()) - 1, 4);
    bool made = exec(out, QStringLiteral("PRAGMA journal_mode=OFF"))
                && exec(out, QStringLiteral("PRAGMA synchronous=OFF"))
                && exec(out, QStringLiteral("PRAGMA threads=%1").arg(sorters))
                && (pageSize <= 0 || exec(out, QStringLiteral("PRAGMA page_size=%1").arg(pageSize)));
    for (const QString& sql : layout)
        made = made && (indexes.contains(sql) || exec(out, sql));
    if (!made)
        return refuseFor(engineError(out));

    // From the first step of the page copy to its last the copy holds the
    // exclusive lock of the database: no other copy of the program can store
    // a test meanwhile. What it saved before is in the safety copy, what it
    // saves after goes into the restored data. The largest key used is read
    // just before; should a save come between, the lock is given up and
    // taken again.
    sqlite3_backup* copier = nullptr;
    sqlite3_file* file = fileOf(live);
    int rc = SQLITE_CANTOPEN;
    qint64 firstKey = 1;
    for (int attempt = 0; file && attempt < 5; ++attempt) {
        quint32 seen = 0;
        {
            const RawFile reader(current, true);
            if (!reader.isOpen() || !exec(reader.handle(), QStringLiteral("BEGIN"))
                || !largestKeyUsed(reader.handle(), &firstKey)) {
                rc = sqlite3_extended_errcode(reader.handle());
                rc = rc == SQLITE_OK ? SQLITE_ERROR : rc;
                break;
            }
            ++firstKey;
            seen = changeCounter(fileOf(reader.handle()));
        }
        copier = sqlite3_backup_init(live, "main", out, "main");
        rc = copier ? sqlite3_backup_step(copier, 1) : sqlite3_extended_errcode(live);
        if ((rc != SQLITE_OK && rc != SQLITE_DONE) || changeCounter(file) == seen)
            break;
        // A save came between. The lock is given up first: while it is
        // held, not even a reader of this process may read the file.
        sqlite3_backup_finish(copier);
        copier = nullptr;
        rc = SQLITE_BUSY;
    }
    // Finished before the new file's connection closes, on every way out.
    std::unique_ptr<sqlite3_backup, int (*)(sqlite3_backup*)> finishing(copier, &sqlite3_backup_finish);
    if (rc != SQLITE_OK && rc != SQLITE_DONE)
        return refuseFor(stepError(rc));

    // The safety copy is read through the locked file itself, beside the
    // building of the new tests (the connection that receives the pages is
    // not used until they come).
    QString copy;
    QSqlError copyError;
    bool copied = true;
    std::thread copying;
    if (existed) {
        copy = safetyCopyPath(current);
        copied = false;
        copying = std::thread([&] { copied = copyLockedFile(file, copy, &copyError); });
    }
    QString message;
    int restored = 0;
    const bool built = buildTests(out, current, in, backup, tests, indexes, firstKey, progress, 0,
                                  &restored, &message);
    if (copying.joinable())
        copying.join();
    if (!copied)
        return refuse(QStringLiteral("无法先另存现有数据（%1）。%2")
                          .arg(shownPath(copy), describeDatabaseError(copyError, copy, DatabaseWork::Restore)));
    if (built) {
        rc = stepToEnd(finishing.release(), rc, progress, 60, 100);
        if (rc != SQLITE_OK)
            message = describeDatabaseError(stepError(rc), current, DatabaseWork::Restore);
    }
    if (!built || rc != SQLITE_OK) {
        if (!copy.isEmpty())
            QFile::remove(copy);
        return refuse(message);
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
