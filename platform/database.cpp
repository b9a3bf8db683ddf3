#include "platform/database.h"

#include "platform/convert.h"
#include "platform/dialogs.h"
#include "platform/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QSqlRecord>
#include <atomic>

namespace zol {

namespace {

// SQLite's primary result codes, as the driver reports them in
// QSqlError::nativeErrorCode().
enum SqliteCode {
    kBusy = 5,
    kLocked = 6,
    kReadOnly = 8,
    kCorrupt = 11,
    kFull = 13,
    kCantOpen = 14,
    kNotADatabase = 26,
};

QStringList& extraPragmas()
{
    static QStringList list;
    return list;
}

QString shownPath(const QString& path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

QString quoteIdentifier(QString name)
{
    name.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + name + QLatin1Char('"');
}

int sqliteCode(const QSqlError& error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    if (ok && code > 0)
        return code & 0xff;   // extended codes carry the primary code in the low byte

    // Some driver paths leave the code out; the engine's text still says it.
    const QString text = error.databaseText();
    if (text.contains(QLatin1String("readonly"), Qt::CaseInsensitive))
        return kReadOnly;
    if (text.contains(QLatin1String("disk is full"), Qt::CaseInsensitive))
        return kFull;
    if (text.contains(QLatin1String("not a database"), Qt::CaseInsensitive))
        return kNotADatabase;
    if (text.contains(QLatin1String("malformed"), Qt::CaseInsensitive))
        return kCorrupt;
    if (text.contains(QLatin1String("locked"), Qt::CaseInsensitive))
        return kBusy;
    if (text.contains(QLatin1String("unable to open"), Qt::CaseInsensitive))
        return kCantOpen;
    return -1;
}

QString tableMissingText(const QString& path, const QString& table)
{
    return QStringLiteral("数据库文件 %1 中没有“%2”表，无法读写测试记录。")
        .arg(shownPath(path), table);
}

bool isKeyField(const QString& name)
{
    return name.compare(recordKeyField(), Qt::CaseInsensitive) == 0;
}

enum class Kind { Text, Integer, Date };

Kind columnKind(const QString& name, const QString& declaredType)
{
    if (name == testRecordFields().last())   // 测试日期
        return Kind::Date;
    if (declaredType.contains(QLatin1String("INT"), Qt::CaseInsensitive))
        return Kind::Integer;
    return Kind::Text;
}

// The value stored for a text in a column of the given kind; an empty
// optional (with the message in *message) when the text does not fit.
std::optional<QVariant> convertText(const QString& path, const QString& field, Kind kind,
                                    const QString& text, QString* message)
{
    const QString trimmed = text.trimmed();
    switch (kind) {
    case Kind::Text:
        return QVariant(text.isNull() ? QStringLiteral("") : text);
    case Kind::Integer: {
        if (trimmed.isEmpty())
            return QVariant(QMetaType(QMetaType::Int));
        if (!IsNumeric(trimmed)) {
            *message = QStringLiteral("无法保存到数据库文件 %1：字段“%2”要求一个整数，“%3”不是数字。")
                           .arg(shownPath(path), field, text);
            return std::nullopt;
        }
        const auto n = toInt32(Val(trimmed));
        if (!n) {
            *message = QStringLiteral("无法保存到数据库文件 %1：字段“%2”的值“%3”超出了允许的范围。")
                           .arg(shownPath(path), field, text);
            return std::nullopt;
        }
        return QVariant(*n);
    }
    case Kind::Date: {
        if (trimmed.isEmpty())
            return QVariant(QMetaType(QMetaType::QString));
        const QDate date = parseDateText(trimmed);
        if (!date.isValid()) {
            *message = QStringLiteral("无法保存到数据库文件 %1：字段“%2”要求一个日期（例如 2026-03-07），"
                                      "“%3”不是有效的日期。")
                           .arg(shownPath(path), field, text);
            return std::nullopt;
        }
        return QVariant(ShortDate(date));
    }
    }
    return std::nullopt;
}

} // namespace

QString testRecordTable() { return QStringLiteral("用户信息"); }

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

QString databasePath() { return programFile(QStringLiteral("zol.mdb")); }

void setExtraConnectionPragmas(const QStringList& pragmas) { extraPragmas() = pragmas; }

QString describeDatabaseError(const QSqlError& error, const QString& path)
{
    const QString file = shownPath(path);
    switch (sqliteCode(error)) {
    case kReadOnly:
        return QStringLiteral("数据库文件 %1 是只读的，无法保存数据。请去掉该文件的只读属性后再试。").arg(file);
    case kFull:
        return QStringLiteral("磁盘已满，无法写入数据库文件 %1。这次的数据没有保存，已经保存的记录不受影响。")
            .arg(file);
    case kNotADatabase:
    case kCorrupt:
        return QStringLiteral("文件 %1 不是有效的数据库文件，或者已经损坏，无法读写测试记录。").arg(file);
    case kCantOpen:
        return QStringLiteral("无法打开数据库文件 %1。请检查该文件和它所在文件夹的权限。").arg(file);
    case kBusy:
    case kLocked:
        return QStringLiteral("数据库文件 %1 正被其他程序使用（已锁定），请稍后再试。").arg(file);
    default:
        break;
    }
    QString detail = error.databaseText().trimmed();
    if (detail.isEmpty())
        detail = error.text().trimmed();
    return QStringLiteral("访问数据库文件 %1 时出错：%2").arg(file, detail);
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

void Recordset::MoveNext()
{
    if (onDeletedRow_) {
        // The row after the deleted one has moved into its place.
        onDeletedRow_ = false;
        return;
    }
    if (index_ < rows_.size())
        ++index_;
}

void Recordset::MovePrevious()
{
    if (onDeletedRow_) {
        onDeletedRow_ = false;
        --index_;
        return;
    }
    if (index_ >= 0)
        --index_;
}

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

    // Only a file made here, or one that is still empty, gets the table. An
    // exclusive create never replaces a file that appeared in the meantime.
    bool createdHere = false;
    if (!info.exists()) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            ErrorBox(QStringLiteral("无法创建数据库文件 %1。请检查该文件夹是否允许写入。（%2）")
                         .arg(shownPath(path), file.errorString()));
            return nullptr;
        }
        file.close();
        createdHere = true;
    }
    const bool empty = createdHere || QFileInfo(path).size() == 0;

    // The superuser may write any file; a file without write permission bits
    // is still meant to be left alone.
    const auto writeBits = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    const bool readOnly = !createdHere && !(QFileInfo(path).permissions() & writeBits);

    std::unique_ptr<Database> db(new Database(path, readOnly));
    QString message;
    if (!db->setUp(empty, &message)) {
        db.reset();
        if (createdHere) {
            QFile::remove(path + QStringLiteral("-journal"));
            QFile::remove(path);
        }
        ErrorBox(message);
        return nullptr;
    }
    return db;
}

bool Database::setUp(bool createTable, QString* message)
{
    auto failed = [&](const QSqlError& error) {
        *message = describeDatabaseError(error, path_);
        return false;
    };

    if (!db_.open())
        return failed(db_.lastError());

    {
        QSqlQuery q(db_);
        // First, so that a setting such as the busy timeout covers the
        // statements below too.
        for (const QString& pragma : extraPragmas())
            if (!q.exec(pragma))
                return failed(q.lastError());
        // Every commit reaches the disk before it returns.
        if (!q.exec(QStringLiteral("PRAGMA synchronous=FULL")))
            return failed(q.lastError());
        if (!readOnly_ && !q.exec(QStringLiteral("PRAGMA journal_mode=DELETE")))
            return failed(q.lastError());
    }

    // SQLite reads the file only now: this is where a file that is not a
    // database shows itself.
    int tables = 0;
    {
        QSqlQuery q(db_);
        q.prepare(QStringLiteral(
            "SELECT count(*) FROM sqlite_master WHERE type='table' AND name=? COLLATE NOCASE"));
        q.addBindValue(testRecordTable());
        if (!q.exec() || !q.next())
            return failed(q.lastError());
        tables = q.value(0).toInt();
    }
    if (tables > 0)
        return true;
    if (!createTable) {
        *message = tableMissingText(path_, testRecordTable());
        return false;
    }

    QStringList columns;
    columns << recordKeyField() + QStringLiteral(" INTEGER PRIMARY KEY AUTOINCREMENT");
    const QStringList& fields = testRecordFields();
    for (int i = 0; i < fields.size(); ++i) {
        const bool score = i >= 8 && i < 16;
        columns << quoteIdentifier(fields[i]) +
                       (score ? QStringLiteral(" INTEGER") : QStringLiteral(" TEXT"));
    }
    const QString create = QStringLiteral("CREATE TABLE %1 (%2)")
                               .arg(quoteIdentifier(testRecordTable()), columns.join(QStringLiteral(", ")));

    QSqlQuery q(db_);
    if (!q.exec(QStringLiteral("BEGIN")))
        return failed(q.lastError());
    if (!q.exec(create) || !q.exec(QStringLiteral("COMMIT"))) {
        const QSqlError error = q.lastError();
        q.exec(QStringLiteral("ROLLBACK"));
        return failed(error);
    }
    return true;
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
        q.addBindValue(p);
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

bool Database::BeginTrans() { return Execute(QStringLiteral("BEGIN")); }

bool Database::CommitTrans() { return Execute(QStringLiteral("COMMIT")); }

bool Database::Rollback()
{
    QSqlQuery q(db_);
    return q.exec(QStringLiteral("ROLLBACK"));
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
        const auto value = convertText(path_, column->name, columnKind(column->name, column->type),
                                       text, &message);
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
}

bool Database::UpdateRow(const QString& table, const QVariant& key, const FieldTexts& values)
{
    QStringList names;
    QVariantList params;
    if (!convertValues(table, values, &names, &params))
        return false;

    QString sql;
    if (names.isEmpty()) {
        // Nothing to change; still make sure the row is there.
        sql = QStringLiteral("UPDATE %1 SET %2 = %2 WHERE %2 = ?")
                  .arg(quoteIdentifier(table), recordKeyField());
    } else {
        QStringList sets;
        for (const QString& n : names)
            sets << n + QStringLiteral(" = ?");
        sql = QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?")
                  .arg(quoteIdentifier(table), sets.join(QStringLiteral(", ")), recordKeyField());
    }
    params << key;
    int changed = 0;
    if (!Execute(sql, params, &changed))
        return false;
    if (changed == 0) {
        ErrorBox(QStringLiteral("数据库文件 %1 中已经没有这条记录（可能已被删除），修改没有保存。")
                     .arg(shownPath(path_)));
        return false;
    }
    return true;
}

bool Database::DeleteRow(const QString& table, const QVariant& key)
{
    // A row that is already gone counts as deleted.
    return Execute(QStringLiteral("DELETE FROM %1 WHERE %2 = ?")
                       .arg(quoteIdentifier(table), recordKeyField()),
                   {key});
}

} // namespace zol
