#include "platform/database.h"

#include "platform/convert.h"
#include "platform/dialogs.h"
#include "platform/partfiles.h"
#include "platform/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QSqlRecord>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

namespace zol {

namespace {

// SQLite's primary result codes, as the driver reports them in
// QSqlError::nativeErrorCode().
enum SqliteCode {
    kPerm = 3,
    kBusy = 5,
    kLocked = 6,
    kNoMem = 7,
    kReadOnly = 8,
    kIoErr = 10,
    kCorrupt = 11,
    kFull = 13,
    kCantOpen = 14,
    kTooBig = 18,
    kConstraint = 19,
    kMismatch = 20,
    kNotADatabase = 26,
};

// A few seconds: long enough for another copy's save to finish, short
// enough that a file held by a stuck program is reported soon.
constexpr int kBusyWaitMs = 5000;

QStringList& extraPragmas()
{
    static QStringList list;
    return list;
}


const auto kWriteBits = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;

// The superuser may write anything; a file or folder without write
// permission bits is still meant to be left alone.
bool mayWrite(const QString& path)
{
    const QFileInfo info(path);
    return info.isWritable() && (info.permissions() & kWriteBits);
}

QString folderOf(const QString& path) { return QFileInfo(path).absolutePath(); }

int sqliteCode(const QSqlError& error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    if (ok && code > 0)
        return code & 0xff;   // extended codes carry the primary code in the low byte

    // Some driver paths leave the code out; the engine's text still says it.
    static const struct {
        const char* words;
        SqliteCode code;
    } kSaying[] = {
        {"readonly", kReadOnly}, {"disk is full", kFull},       {"not a database", kNotADatabase},
        {"malformed", kCorrupt}, {"locked", kBusy},             {"unable to open", kCantOpen},
        {"too big", kTooBig},
    };
    const QString text = error.databaseText();
    for (const auto& s : kSaying)
        if (text.contains(QLatin1String(s.words), Qt::CaseInsensitive))
            return s.code;
    return -1;
}


// The engine turns UTF-16 into UTF-8 by reading a surrogate and the unit
// after it as one character, so a lone half of a pair would take its
// neighbour with it. Such a half stands for no character; it becomes U+FFFD.
QString withoutBrokenSurrogates(QString text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!text.at(i).isSurrogate())
            continue;
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        else
            text[i] = QChar(QChar::ReplacementCharacter);
    }
    return text;
}

QVariant boundValue(const QVariant& value)
{
    if (value.typeId() == QMetaType::QString)
        return withoutBrokenSurrogates(value.toString());
    return value;
}

// What an engine text names after e.g. "no such column: ", if it says that.
QString namedAfter(const QString& engineText, QLatin1String prefix)
{
    const int at = engineText.indexOf(prefix, 0, Qt::CaseInsensitive);
    return at < 0 ? QString() : engineText.mid(at + prefix.size()).trimmed();
}

QString tableMissingText(const QString& path, const QString& table)
{
    return QStringLiteral("数据库文件 %1 中没有“%2”表，无法读写测试记录。")
        .arg(shownPath(path), table);
}

// Added to the message of a failure that also could not be undone.
QString rollbackFailedText()
{
    return QStringLiteral("没有完成的修改未能撤销；已重新连接数据库文件，这些修改没有保存。");
}

bool isKeyField(const QString& name)
{
    return name.compare(recordKeyField(), Qt::CaseInsensitive) == 0;
}

// The value stored for a text in a column of the given kind; an empty
// optional (with the message in *message) when the text does not fit.
std::optional<QVariant> convertText(const QString& path, const QString& field, FieldKind kind,
                                    const QString& text, qint64 maxBytes, QString* message)
{
    if (kind == FieldKind::Text) {
        // The engine stores UTF-8, at most three bytes for a UTF-16 unit.
        if (text.size() * 3 > maxBytes && text.toUtf8().size() > maxBytes) {
            *message = QStringLiteral("无法保存到数据库文件 %1：字段“%2”的文字太长（%3 个字符），"
                                      "无法完整保存。这次的数据没有保存。")
                           .arg(shownPath(path), field)
                           .arg(text.size());
            return std::nullopt;
        }
        return QVariant(text.isNull() ? QStringLiteral("") : text);
    }
    ValueFault fault{};
    if (auto value = storedValue(kind, text, &fault))
        return value;
    switch (fault) {
    case ValueFault::NotANumber:
        *message = QStringLiteral("无法保存到数据库文件 %1：字段“%2”要求一个整数，“%3”不是数字。");
        break;
    case ValueFault::OutOfRange:
        *message = QStringLiteral("无法保存到数据库文件 %1：字段“%2”的值“%3”超出了允许的范围。");
        break;
    case ValueFault::NotADate:
        *message = QStringLiteral("无法保存到数据库文件 %1：字段“%2”要求一个日期（例如 2026-03-07），"
                                  "“%3”不是有效的日期。");
        break;
    }
    *message = message->arg(shownPath(path), field, text);
    return std::nullopt;
}

} // namespace

QString testRecordTable() { return QStringLiteral("用户信息"); }

FieldKind fieldKind(const QString& field, const QString& declaredType)
{
    if (field == testRecordFields().last())   // 测试日期
        return FieldKind::Date;
    if (declaredType.contains(QLatin1String("INT"), Qt::CaseInsensitive))
        return FieldKind::Integer;
    return FieldKind::Text;
}

std::optional<QVariant> storedValue(FieldKind kind, const QString& text, ValueFault* fault)
{
    const QString trimmed = text.trimmed();
    switch (kind) {
    case FieldKind::Text:
        return QVariant(text);
    case FieldKind::Integer: {
        if (trimmed.isEmpty())
            return QVariant(QMetaType(QMetaType::Int));
        if (!IsNumeric(trimmed)) {
            *fault = ValueFault::NotANumber;
            return std::nullopt;
        }
        const auto n = toInt32(Val(trimmed));
        if (!n) {
            *fault = ValueFault::OutOfRange;
            return std::nullopt;
        }
        return QVariant(*n);
    }
    case FieldKind::Date: {
        if (trimmed.isEmpty())
            return QVariant(QMetaType(QMetaType::QString));
        const QDate date = parseDateText(trimmed);
        if (!date.isValid()) {
            *fault = ValueFault::NotADate;
            return std::nullopt;
        }
        return QVariant(ShortDate(date));
    }
    }
    return std::nullopt;
}

QString testRecordFigure(const QString& expression, const QString& alias, const QString& where)
{
    return QStringLiteral("SELECT %1 AS [%2] FROM %3%4;")
        .arg(expression, alias, testRecordTable(), where);
}

QString recordCountStatement()
{
    return testRecordFigure(QStringLiteral("count(*)"), recordCountField());
}

QString recordCountField() { return QStringLiteral("mz1"); }

const QStringList& testRecordFields()
{
    static const QStringList fields = {
        QStringLiteral("姓名"),    QStringLiteral("性别"),    QStringLiteral("年龄"),
        QStringLiteral("文化"),    QStringLiteral("民族"),    QStringLiteral("职业"),
        QStringLiteral("编号"),    QStringLiteral("来源"),    QStringLiteral("粗份P"),
        QStringLiteral("粗分E"),   QStringLiteral("粗分N"),   QStringLiteral("粗分L"),
        QStringLiteral("标准分P"), QStringLiteral("标准分E"), QStringLiteral("标准分N"),
        QStringLiteral("标准分L"), QStringLiteral("P评价"),   QStringLiteral("E评价"),
        QStringLiteral("N评价"),   QStringLiteral("L评价"),   QStringLiteral("测试日期"),
    };
    return fields;
}

QString recordKeyField() { return QStringLiteral("ID"); }

QString recordKeyExpression() { return QStringLiteral("rowid"); }

QString quoteIdentifier(QString name)
{
    name.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + name + QLatin1Char('"');
}

QString keyedSelect(const QString& table, const QString& rest)
{
    QString sql = QStringLiteral("SELECT %1 AS %2, * FROM %3")
                      .arg(recordKeyExpression(), recordKeyField(), quoteIdentifier(table));
    if (!rest.isEmpty())
        sql += QLatin1Char(' ') + rest;
    return sql;
}

int busyWaitMilliseconds() { return kBusyWaitMs; }

QString databasePath() { return programFile(QStringLiteral("zol.mdb")); }

void setExtraConnectionPragmas(const QStringList& pragmas) { extraPragmas() = pragmas; }

const QStringList& extraConnectionPragmas() { return extraPragmas(); }

QString describeDatabaseError(const QSqlError& error, const QString& path, DatabaseWork work)
{
    const bool save = work == DatabaseWork::Save;
    const QString file = (work == DatabaseWork::Backup ? QStringLiteral("备份文件 ") : QStringLiteral("数据库文件 "))
                         + shownPath(path);
    const QString notDone = save ? QStringLiteral("无法保存数据")
                            : work == DatabaseWork::Restore ? QStringLiteral("无法恢复数据")
                                                            : QStringLiteral("无法写入备份");
    const int code = sqliteCode(error);
    // The engine gives the read-only code, too, for a file that was deleted
    // or had another moved over it while it was open.
    if (error.nativeErrorCode().toInt() == SQLITE_READONLY_DBMOVED)
        return QStringLiteral("%1 在打开之后被删除，或者被另一个文件替换了，%2。请关闭这个窗口后重新打开再试。")
            .arg(file, notDone);
    // A file that may be written, in a folder that may not (where the
    // engine keeps its journal while it writes): the folder is to blame.
    const bool fileReadOnly = QFileInfo::exists(path) && !mayWrite(path);
    if ((code == kReadOnly || code == kCantOpen || code == kPerm) && !fileReadOnly
        && !mayWrite(folderOf(path)))
        return QStringLiteral("%1 所在的文件夹 %2 不允许写入，%3。请让该文件夹允许写入后再试。")
            .arg(file, QDir::toNativeSeparators(folderOf(path)), notDone);
    switch (code) {
    case kReadOnly:
        return QStringLiteral("%1 是只读的，%2。请去掉该文件的只读属性后再试。").arg(file, notDone);
    case kFull:
        return save ? QStringLiteral("磁盘已满，无法写入%1。这次的数据没有保存，已经保存的记录不受影响。").arg(file)
                    : QStringLiteral("磁盘已满，无法写入%1。").arg(file);
    case kNotADatabase:
    case kCorrupt:
        return QStringLiteral("文件 %1 不是有效的数据库文件，或者已经损坏，无法读写测试记录。").arg(shownPath(path));
    case kCantOpen:
    case kPerm:
        return QStringLiteral("无法打开%1。请检查该文件和它所在文件夹的权限。").arg(file);
    case kBusy:
    case kLocked:
        return QStringLiteral("%1 正被其他程序使用（已锁定），请稍后再试。").arg(file);
    case kTooBig:
        return save ? QStringLiteral("要保存的文字太长，%1 无法完整保存。这次的数据没有保存。").arg(file)
                    : QStringLiteral("有一段文字太长，%1 无法完整保存它。").arg(file);
    case kConstraint:
    case kMismatch:
        return QStringLiteral("%1 中的表不接受这些数据（表的约束条件不允许），%2。")
            .arg(file, save ? QStringLiteral("这次的数据没有保存") : notDone);
    case kIoErr:
        return save ? QStringLiteral("读写%1 时磁盘出错。这次的数据没有保存，请检查磁盘后再试。").arg(file)
                    : QStringLiteral("读写%1 时磁盘出错，请检查磁盘后再试。").arg(file);
    case kNoMem:
        return QStringLiteral("内存不足，无法读写%1。").arg(file);
    default:
        break;
    }
    const QString column = namedAfter(error.databaseText(), QLatin1String("no such column: "));
    if (!column.isEmpty())
        return QStringLiteral("%1 中没有字段“%2”，无法读写测试记录。").arg(file, column);
    const QString table = namedAfter(error.databaseText(), QLatin1String("no such table: "));
    if (!table.isEmpty())
        return tableMissingText(path, table);
    QString detail = error.databaseText().trimmed();
    if (detail.isEmpty())
        detail = error.text().trimmed();
    // A sentence of its own: whatever the caller says next begins after it.
    if (!detail.endsWith(QChar(0x3002)) && !detail.endsWith(QLatin1Char('.')))
        detail += QChar(0x3002);
    return QStringLiteral("访问%1 时出错：%2").arg(file, detail);
}

// --- Recordset ---------------------------------------------------------------

QStringList Recordset::fieldNames() const
{
    QStringList names;
    for (const QString& c : columns_)
        if (!isKeyField(c))
            names << c;
    return names;
}

int Recordset::columnIndex(const QString& name) const
{
    for (int i = 0; i < columns_.size(); ++i)
        if (columns_[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

bool Recordset::hasField(const QString& name) const { return columnIndex(name) >= 0; }

bool Recordset::hasCurrentRow() const
{
    return !onDeletedRow_ && index_ >= 0 && index_ < rows_.size();
}

QVariant Recordset::Fields(const QString& name) const
{
    const int c = columnIndex(name);
    if (c < 0 || !hasCurrentRow())
        return QVariant();
    return rows_[index_].value(c);
}

QVariant Recordset::rowKey() const { return Fields(recordKeyField()); }

// Right after a delete the position lies between two rows: neither end is
// reached until the next move.
bool Recordset::isBOF() const
{
    return rows_.isEmpty() || (!onDeletedRow_ && index_ < 0);
}

bool Recordset::isEOF() const
{
    return rows_.isEmpty() || (!onDeletedRow_ && index_ >= rows_.size());
}

void Recordset::MoveFirst()
{
    onDeletedRow_ = false;
    index_ = 0;
}

void Recordset::MoveLast()
{
    onDeletedRow_ = false;
    index_ = int(rows_.size()) - 1;
}

void stepForward(int& index, bool& onDeletedRow, int count)
{
    if (onDeletedRow) {
        // The row after the deleted one has moved into its place.
        onDeletedRow = false;
        return;
    }
    if (index < count)
        ++index;
}

void stepBack(int& index, bool& onDeletedRow)
{
    if (onDeletedRow) {
        onDeletedRow = false;
        --index;
        return;
    }
    if (index >= 0)
        --index;
}

void Recordset::MoveNext() { stepForward(index_, onDeletedRow_, int(rows_.size())); }

void Recordset::MovePrevious() { stepBack(index_, onDeletedRow_); }

QVariantList Recordset::rowFrom(const Recordset& source) const
{
    QVariantList row;
    row.reserve(columns_.size());
    for (const QString& c : columns_)
        row << source.Fields(c);
    return row;
}

void Recordset::appendRow(const Recordset& source)
{
    if (columns_.isEmpty()) {
        columns_ = source.columns_;
        valid_ = true;
    }
    rows_.append(rowFrom(source));
    index_ = int(rows_.size()) - 1;
    onDeletedRow_ = false;
}

void Recordset::replaceCurrentRow(const Recordset& source)
{
    if (hasCurrentRow())
        rows_[index_] = rowFrom(source);
}

void Recordset::removeCurrentRow()
{
    if (!hasCurrentRow())
        return;
    rows_.removeAt(index_);
    onDeletedRow_ = true;
}

// --- Database ----------------------------------------------------------------

Database::Database(const QString& path, bool readOnly) : path_(path), readOnly_(readOnly)
{
    static std::atomic<int> counter{0};
    connectionName_ = QStringLiteral("zol.database.%1").arg(++counter);
    db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName_);
    db_.setDatabaseName(path);
    if (readOnly_)
        db_.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
}

Database::~Database()
{
    db_.close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(connectionName_);
}

bool Database::fileReplaced() const
{
    int moved = 0;
    sqlite3* handle = sqliteHandle(db_);
    return handle && sqlite3_file_control(handle, "main", SQLITE_FCNTL_HAS_MOVED, &moved) == SQLITE_OK
           && moved != 0;
}

std::unique_ptr<Database> Database::OpenDatabase(const QString& path)
{
    const QFileInfo info(path);
    if (!info.absoluteDir().exists()) {
        ErrorBox(QStringLiteral("找不到数据库文件 %1 所在的文件夹，无法打开或创建数据库。")
                     .arg(shownPath(path)));
        return nullptr;
    }
    if (info.exists() && !info.isFile()) {
        ErrorBox(QStringLiteral("%1 不是一个文件，无法作为数据库文件打开。").arg(shownPath(path)));
        return nullptr;
    }
    if (!info.exists()) {
        QString message;
        if (!createFile(path, &message)) {
            ErrorBox(message);
            return nullptr;
        }
    }

    // An empty file (made by hand, or left by an older program) gets the table.
    const bool readOnly = !mayWrite(path) || !mayWrite(folderOf(path));
    const bool empty = QFileInfo(path).size() == 0;
    std::unique_ptr<Database> db(new Database(path, readOnly));
    QString message;
    if (!db->setUp(empty, &message)) {
        ErrorBox(message);
        return nullptr;
    }
    return db;
}

bool Database::createFile(const QString& path, QString* message)
{
    const QString folder = folderOf(path);
    if (!mayWrite(folder)) {
        *message = QStringLiteral("无法创建数据库文件 %1：文件夹 %2 不允许写入。请让该文件夹允许写入后再试。")
                       .arg(shownPath(path), QDir::toNativeSeparators(folder));
        return false;
    }

    // Built complete under a name of its own, then moved into place by a
    // rename that never replaces: a copy of the program that started at the
    // same moment either finds no file or a whole one, and a file that
    // appeared meanwhile, with whatever the other copy has stored in it, is
    // the one both use. It is locked while it is built, so that a cleaner
    // leaves it alone.
    const std::unique_ptr<PartFile> held = PartFile::besideTarget(path);
    if (!held) {
        *message = QStringLiteral("无法创建数据库文件 %1。请检查该文件夹是否允许写入。（%2）")
                       .arg(shownPath(path), QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    const QString temp = held->path();
    struct Cleanup {
        QString temp;
        ~Cleanup()
        {
            QFile::remove(temp + QStringLiteral("-journal"));
            QFile::remove(temp);
        }
    } cleanup{temp};
    {
        Database built(temp, false);
        if (!built.setUp(true, message)) {
            message->replace(shownPath(temp), shownPath(path));
            return false;
        }
    }

    const QByteArray from = QFile::encodeName(temp);
    const QByteArray to = QFile::encodeName(path);
    int rc = ::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE);
    if (rc != 0 && errno != EEXIST)
        rc = ::link(from.constData(), to.constData());   // file systems without that rename
    if (rc != 0 && errno != EEXIST) {
        *message = QStringLiteral("无法创建数据库文件 %1。请检查该文件夹是否允许写入。（%2）")
                       .arg(shownPath(path), QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    return true;
}

bool Database::setUp(bool createTable, QString* message)
{
    if (!openConnection(message))
        return false;
    bool found = false;
    if (!hasRecordTable(&found, message))
        return false;
    if (found)
        return true;
    if (!createTable) {
        *message = tableMissingText(path_, testRecordTable());
        return false;
    }
    return createRecordTable(message);
}

bool Database::openConnection(QString* message)
{
    if (!db_.open())
        return failed(db_.lastError(), message);
    // The busy wait first, so that the statements after it wait for another
    // copy too; the extra statements come next and may change it. Every
    // commit reaches the disk before it returns.
    QStringList pragmas{QStringLiteral("PRAGMA busy_timeout=%1").arg(kBusyWaitMs)};
    pragmas << extraPragmas() << QStringLiteral("PRAGMA synchronous=FULL");
    if (!readOnly_)
        pragmas << QStringLiteral("PRAGMA journal_mode=DELETE");
    QSqlQuery q(db_);
    for (const QString& pragma : pragmas)
        if (!q.exec(pragma))
            return failed(q.lastError(), message);
    return true;
}

bool Database::hasRecordTable(bool* found, QString* message)
{
    // SQLite reads the file only now: this is where a file that is not a
    // database shows itself.
    QSqlQuery q(db_);
    q.prepare(QStringLiteral(
        "SELECT count(*) FROM sqlite_master WHERE type='table' AND name=? COLLATE NOCASE"));
    q.addBindValue(testRecordTable());
    if (!q.exec() || !q.next())
        return failed(q.lastError(), message);
    *found = q.value(0).toInt() > 0;
    return true;
}

const QStringList& recordTableStatements()
{
    static const QStringList statements = [] {
        QStringList columns;
        columns << recordKeyField() + QStringLiteral(" INTEGER PRIMARY KEY AUTOINCREMENT");
        const QStringList& fields = testRecordFields();
        for (int i = 0; i < fields.size(); ++i) {
            const bool score = i >= 8 && i < 16;
            columns << quoteIdentifier(fields[i]) + (score ? QStringLiteral(" INTEGER") : QStringLiteral(" TEXT"));
        }
        // Another copy may be giving the same empty file its table right now.
        const QString create = QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (%2)")
                                   .arg(quoteIdentifier(testRecordTable()), columns.join(QStringLiteral(", ")));

        // The group statistics read only sex and the four standard scores;
        // with them in one index each statistic reads the index instead of
        // every stored row with its long evaluation texts (ten times faster
        // on years of tests).
        const QString index = QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)")
                                  .arg(quoteIdentifier(testRecordTable() + QStringLiteral("_统计")),
                                       quoteIdentifier(testRecordTable()),
                                       QStringList{quoteIdentifier(fields[1]), quoteIdentifier(fields[12]),
                                                   quoteIdentifier(fields[13]), quoteIdentifier(fields[14]),
                                                   quoteIdentifier(fields[15])}
                                           .join(QStringLiteral(", ")));
        return QStringList{create, index};
    }();
    return statements;
}

bool Database::createRecordTable(QString* message)
{
    QSqlQuery q(db_);
    if (!q.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return failed(q.lastError(), message);
    bool made = true;
    for (const QString& statement : recordTableStatements())
        made = made && q.exec(statement);
    if (!made || !q.exec(QStringLiteral("COMMIT"))) {
        failed(q.lastError(), message);
        q.finish();
        if (!endTransaction())
            *message += QLatin1Char('\n') + rollbackFailedText();
        return false;
    }
    return true;
}

bool Database::failed(const QSqlError& error, QString* message) const
{
    *message = describeDatabaseError(error, path_);
    return false;
}

bool Database::report(const QSqlError& error) const
{
    ErrorBox(describeDatabaseError(error, path_));
    return false;
}

Recordset Database::OpenRecordset(const QString& sql, const QVariantList& params)
{
    Recordset rs;
    QSqlQuery q(db_);
    q.setForwardOnly(true);
    if (!run(q, sql, params))
        return rs;
    const QSqlRecord record = q.record();
    for (int i = 0; i < record.count(); ++i)
        rs.columns_ << record.fieldName(i);
    while (q.next()) {
        QVariantList row;
        row.reserve(record.count());
        for (int i = 0; i < record.count(); ++i)
            row << q.value(i);
        rs.rows_ << row;
    }
    // A read can fail half-way (a damaged page); then the rows are not all there.
    if (q.lastError().isValid()) {
        report(q.lastError());
        return Recordset();
    }
    rs.valid_ = true;
    rs.index_ = 0;
    return rs;
}

bool Database::run(QSqlQuery& q, const QString& sql, const QVariantList& params) const
{
    if (!q.prepare(sql))
        return report(q.lastError());
    for (const QVariant& p : params)
        q.addBindValue(boundValue(p));
    if (!q.exec())
        return report(q.lastError());
    return true;
}

bool Database::Execute(const QString& sql, const QVariantList& params, int* rowsAffected)
{
    QSqlQuery q(db_);
    if (!run(q, sql, params))
        return false;
    if (rowsAffected)
        *rowsAffected = q.numRowsAffected();
    return true;
}

// Immediate: a transaction that reads first and writes later would have
// to upgrade its lock, and the engine refuses that at once, without the
// busy wait, while another copy is writing.
bool Database::BeginTrans() { return Execute(QStringLiteral("BEGIN IMMEDIATE")); }

bool Database::CommitTrans() { return Execute(QStringLiteral("COMMIT")); }

bool Database::Rollback()
{
    if (endTransaction())
        return true;
    ErrorBox(rollbackFailedText());
    return false;
}

bool Database::endTransaction()
{
    QSqlQuery q(db_);
    // A failed statement may have ended the transaction itself; then the
    // ROLLBACK finds none and there is nothing left to undo.
    if (q.exec(QStringLiteral("ROLLBACK")) || !inTransaction())
        return true;
    // Closing the connection undoes what its transaction wrote; opened again
    // at once, it is ready for the next write.
    q.finish();
    db_.close();
    QString message;
    if (!openConnection(&message))
        ErrorBox(message);   // the file stays closed; its next use reports again
    return false;
}

bool Database::inTransaction() const
{
    sqlite3* handle = sqliteHandle(db_);
    return handle && !sqlite3_get_autocommit(handle);
}

bool Database::writing(const std::function<bool()>& write)
{
    if (inTransaction())
        return write();
    if (!BeginTrans())
        return false;
    if (write() && CommitTrans())
        return true;
    Rollback();   // reports its own failure; the write's was reported already
    return false;
}

bool Database::tableColumns(const QString& table, QList<Column>* columns)
{
    QSqlQuery q(db_);
    if (!q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(quoteIdentifier(table))))
        return report(q.lastError());
    while (q.next())
        columns->append({q.value(1).toString(), q.value(2).toString()});
    if (q.lastError().isValid())
        return report(q.lastError());
    if (columns->isEmpty()) {
        ErrorBox(tableMissingText(path_, table));
        return false;
    }
    return true;
}

bool Database::convertValues(const QString& table, const FieldTexts& values, QStringList* names,
                             QVariantList* params)
{
    QList<Column> columns;
    if (!tableColumns(table, &columns))
        return false;
    sqlite3* handle = sqliteHandle(db_);
    const qint64 maxBytes = handle ? sqlite3_limit(handle, SQLITE_LIMIT_LENGTH, -1) : 1000000000;
    for (const auto& [field, text] : values) {
        const Column* column = nullptr;
        for (const Column& c : columns)
            if (c.name.compare(field, Qt::CaseInsensitive) == 0 && !isKeyField(c.name))
                column = &c;
        if (!column) {
            ErrorBox(QStringLiteral("数据库文件 %1 的“%2”表中没有字段“%3”。")
                         .arg(shownPath(path_), table, field));
            return false;
        }
        QString message;
        const auto value = convertText(path_, column->name, fieldKind(column->name, column->type),
                                       text, maxBytes, &message);
        if (!value) {
            ErrorBox(message);
            return false;
        }
        // Two controls bound to one field: the later one wins.
        const QString quoted = quoteIdentifier(column->name);
        const int at = names->indexOf(quoted);
        if (at >= 0) {
            (*params)[at] = *value;
        } else {
            names->append(quoted);
            params->append(*value);
        }
    }
    return true;
}

bool Database::InsertRow(const QString& table, const FieldTexts& values, QVariant* newKey)
{
    return writing([&] {
        QStringList names;
        QVariantList params;
        if (!convertValues(table, values, &names, &params))
            return false;

        QString sql;
        if (names.isEmpty()) {
            sql = QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoteIdentifier(table));
        } else {
            QStringList marks;
            for (int i = 0; i < names.size(); ++i)
                marks << QStringLiteral("?");
            sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(quoteIdentifier(table), names.join(QStringLiteral(", ")),
                           marks.join(QStringLiteral(", ")));
        }
        QSqlQuery q(db_);
        if (!run(q, sql, params))
            return false;
        if (newKey)
            *newKey = q.lastInsertId();
        return true;
    });
}

bool Database::UpdateRow(const QString& table, const QVariant& key, const FieldTexts& values)
{
    return writing([&] {
        QStringList names;
        QVariantList params;
        if (!convertValues(table, values, &names, &params))
            return false;

        int found = 0;
        if (names.isEmpty()) {
            // Nothing to change; still make sure the row is there.
            const Recordset rs = OpenRecordset(QStringLiteral("SELECT count(*) AS n FROM %1 WHERE %2 = ?")
                                                   .arg(quoteIdentifier(table), recordKeyExpression()),
                                               {key});
            if (!rs.isValid())
                return false;
            found = rs.Fields(QStringLiteral("n")).toInt();
        } else {
            QStringList sets;
            for (const QString& n : names)
                sets << n + QStringLiteral(" = ?");
            params << key;
            if (!Execute(QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?")
                             .arg(quoteIdentifier(table), sets.join(QStringLiteral(", ")),
                                  recordKeyExpression()),
                         params, &found))
                return false;
        }
        if (found == 0) {
            ErrorBox(QStringLiteral("数据库文件 %1 中已经没有这条记录（可能已被删除），修改没有保存。")
                         .arg(shownPath(path_)));
            return false;
        }
        return true;
    });
}

bool Database::DeleteRow(const QString& table, const QVariant& key)
{
    return writing([&] {
        return Execute(QStringLiteral("DELETE FROM %1 WHERE %2 = ?")
                           .arg(quoteIdentifier(table), recordKeyExpression()),
                       {key});
    });
}

sqlite3* sqliteHandle(const QSqlDatabase& db)
{
    if (!db.isOpen() || !db.driver())
        return nullptr;
    const QVariant v = db.driver()->handle();
    if (!v.isValid() || qstrcmp(v.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(v.constData());
}

} // namespace zol
