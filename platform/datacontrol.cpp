#include "platform/datacontrol.h"

#include "platform/datanotices.h"
#include "platform/dialogs.h"
#include "platform/paths.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSqlQuery>
#include <algorithm>
#include <limits>
#include <sqlite3.h>

namespace zol {

namespace {

// A bracketed or double-quoted name loses its quotes.
QString unquoted(const QString& name)
{
    if (name.size() >= 2 && name.startsWith(QLatin1Char('[')) && name.endsWith(QLatin1Char(']')))
        return name.mid(1, name.size() - 2);
    if (name.size() >= 2 && name.startsWith(QLatin1Char('"')) && name.endsWith(QLatin1Char('"')))
        return name.mid(1, name.size() - 2).replace(QStringLiteral("\"\""), QStringLiteral("\""));
    return name;
}

// The row of a table with the key given as its one parameter.
QString rowByKey(const QString& table)
{
    return keyedSelect(table, QStringLiteral("WHERE %1 = ?").arg(recordKeyExpression()));
}

QString displayText(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return QString();
    return value.toString();
}

// Two values of one column, read by the same driver; a stored NULL equals
// only NULL.
bool sameValue(const QVariant& a, const QVariant& b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull();
    return a == b;
}

} // namespace

QString goneRowText(const QString& path, const QString& name, const QString& number,
                    const QString& notDone)
{
    const QString test = name.isEmpty() && number.isEmpty()
        ? QStringLiteral("这条测试记录")
        : QStringLiteral("测试记录（姓名“%1”，编号“%2”）").arg(name, number);
    return QStringLiteral("窗口中显示的%1已经不在数据库文件 %2 中，或者已被其他窗口或程序改动"
                          "（例如删除了它，或者恢复了数据库）。%3，窗口已重新读取记录。")
        .arg(test, shownPath(path), notDone);
}

DataControl::DataControl(QObject* parent) : QObject(parent)
{
    connect(&DatabaseNotices::instance(), &DatabaseNotices::replaced, this,
            &DataControl::databaseReplaced);
}

DataControl::~DataControl() = default;

void DataControl::setRecordSource(const QString& source, const QVariantList& params)
{
    recordSource_ = source;
    parameters_ = params;
    keyed_ = sourceIsTable();
}

bool DataControl::sourceIsTable() const
{
    static const QRegularExpression name(
        QStringLiteral("^(\\[[^\\]]+\\]|\"(?:[^\"]|\"\")+\"|[^\\s\\[\\]\";(),]+)$"));
    return name.match(recordSource_.trimmed()).hasMatch();
}

// A table gives its row keys only, in the order its rows were stored.
QString DataControl::sourceSql() const
{
    if (!keyed_)
        return recordSource_;
    return QStringLiteral("SELECT %1 AS %2 FROM %3 ORDER BY %1")
        .arg(recordKeyExpression(), recordKeyField(), quoteIdentifier(unquoted(recordSource_.trimmed())));
}

bool DataControl::writeTable(QString* table)
{
    if (sourceIsTable()) {
        *table = unquoted(recordSource_.trimmed());
        return true;
    }
    static const QRegularExpression from(
        QStringLiteral("\\bFROM\\s+(\\[[^\\]]+\\]|\"(?:[^\"]|\"\")+\"|[^\\s;,()]+)"),
        QRegularExpression::CaseInsensitiveOption);
    const auto m = from.match(recordSource_);
    if (!m.hasMatch()) {
        ErrorBox(QStringLiteral("记录源“%1”不是对一个表的查询，无法修改数据库文件 %2 中的记录。")
                     .arg(recordSource_, shownPath(databaseName_)));
        return false;
    }
    *table = unquoted(m.captured(1));
    return true;
}

std::unique_ptr<Database> DataControl::open()
{
    if (databaseName_.isEmpty()) {
        ErrorBox(QStringLiteral("没有指定数据库文件 zol.mdb 的位置，无法读写测试记录。"));
        return nullptr;
    }
    return Database::OpenDatabase(databaseName_);
}

// Reads the record source, positioned on its first row; the fields of a
// table's current row are read by readCurrentRow.
bool DataControl::read(Database& db)
{
    if (keyed_) {
        if (!readKeys(db))
            return false;
    } else {
        Recordset rs = db.OpenRecordset(recordSource_, parameters_);
        if (!rs.isValid())
            return false;
        rows_ = rs;
    }
    index_ = 0;
    onDeletedRow_ = false;
    current_ = Recordset();
    adding_ = false;
    read_ = true;
    return true;
}

// Straight into keys_: no row of values is ever built for a key. The keys
// read before stay until the new ones are all there.
bool DataControl::readKeys(Database& db)
{
    QSqlQuery q(db.connection());
    q.setForwardOnly(true);
    std::vector<qint64> keys;
    // Sized once, so that no copy of the keys is made while they are read.
    if (q.exec(QStringLiteral("SELECT count(*) FROM (%1)").arg(sourceSql())) && q.next())
        keys.reserve(size_t(q.value(0).toLongLong()));
    bool ok = q.exec(sourceSql());
    while (ok && q.next())
        keys.push_back(q.value(0).toLongLong());
    if (!ok || q.lastError().isValid()) {
        ErrorBox(describeDatabaseError(q.lastError(), databaseName_));
        return false;
    }
    keys_ = std::move(keys);
    return true;
}

// A row another window deleted meanwhile has no fields to show: its
// controls show nothing.
bool DataControl::readCurrentRow(Database* db)
{
    current_ = Recordset();
    if (adding_ || !hasCurrentRow())
        return true;
    if (!keyed_) {
        current_.columns_ = rows_.columns_;
        current_.rows_ = {rows_.rows_[index_]};
        current_.index_ = 0;
        current_.valid_ = true;
        return true;
    }
    std::unique_ptr<Database> own;
    if (!db) {
        own = open();
        db = own.get();
    }
    if (!db)
        return false;
    Recordset rs = db->OpenRecordset(rowByKey(unquoted(recordSource_.trimmed())), {currentKey()});
    if (!rs.isValid())
        return false;
    current_ = rs;
    return true;
}

int DataControl::RecordCount() const
{
    return keyed_ ? int(keys_.size()) : rows_.RecordCount();
}

bool DataControl::hasCurrentRow() const
{
    return !onDeletedRow_ && index_ >= 0 && index_ < RecordCount();
}

// Right after a delete the position lies between two rows: neither end is
// reached until the next move.
bool DataControl::isBOF() const
{
    return RecordCount() == 0 || (!onDeletedRow_ && index_ < 0);
}

bool DataControl::isEOF() const
{
    return RecordCount() == 0 || (!onDeletedRow_ && index_ >= RecordCount());
}

QVariant DataControl::currentKey() const
{
    if (!hasCurrentRow())
        return QVariant();
    if (keyed_)
        return keys_[index_];
    const int c = rows_.columnIndex(recordKeyField());
    return c < 0 ? QVariant() : rows_.rows_[index_].value(c);
}

QVariant DataControl::stored(const QString& field) const { return current_.Fields(field); }

// The file, and the table the record source reads (the one writes go to).
std::unique_ptr<Database> DataControl::openTable(QString* table)
{
    if (!writeTable(table))
        return nullptr;
    return open();
}

bool DataControl::Refresh() { return reread(false); }

bool DataControl::Requery() { return reread(true); }

bool DataControl::RequeryIfChanged(qint64 count)
{
    if (!read_ || !keyed_)
        return Requery();
    if (count != qint64(keys_.size()))
        return Requery();
    if (keys_.empty())
        return true;
    {
        const auto db = open();
        if (!db)
            return false;
        QSqlQuery q(db->connection());
        if (!q.exec(QStringLiteral("SELECT max(%1) FROM %2")
                        .arg(recordKeyExpression(), quoteIdentifier(unquoted(recordSource_.trimmed()))))
            || !q.next()) {
            ErrorBox(describeDatabaseError(q.lastError(), databaseName_));
            return false;
        }
        if (q.value(0).toLongLong() == keys_.back())
            return true;
    }
    return Requery();
}

bool DataControl::reread(bool keepPlace)
{
    if (recordSource_.trimmed().isEmpty()) {
        ErrorBox(QStringLiteral("没有指定记录源，无法读取数据库文件 %1。").arg(shownPath(databaseName_)));
        return false;
    }
    if (!leaveRow())
        return false;
    const Place place = placeNow();
    const auto db = open();
    if (!db || !read(*db))
        return false;
    if (keepPlace)
        placeAt(place);
    const bool ok = readCurrentRow(db.get());
    showCurrentRow();
    return ok;
}

qint64 DataControl::keyAt(int i) const
{
    return keyed_ ? keys_[i] : rows_.rows_[i].value(rows_.columnIndex(recordKeyField())).toLongLong();
}

DataControl::Place DataControl::placeNow() const
{
    if (RecordCount() == 0 || (index_ < 0 && !onDeletedRow_))
        return {Place::Start};
    if (index_ >= RecordCount())
        return {Place::End};
    if (!keyed_ && !rows_.hasField(recordKeyField()))
        return {Place::First};   // no keys to find the place by
    return {Place::Key, keyAt(index_), onDeletedRow_};
}

// Puts the control where it stood before the rows were read again: on the
// same row, or, when that row is gone, in the gap before the row that
// followed it; before the start or past the end as it was. Rows are in key
// order.
void DataControl::placeAt(const Place& place)
{
    const int n = RecordCount();
    switch (place.at) {
    case Place::Start:
        index_ = -1;
        return;
    case Place::End:
        index_ = n;
        return;
    case Place::First:
        return;
    case Place::Key:
        break;
    }
    int i = 0;
    if (keyed_)
        i = int(std::lower_bound(keys_.begin(), keys_.end(), place.key) - keys_.begin());
    else if (rows_.hasField(recordKeyField()))
        while (i < n && keyAt(i) < place.key)
            ++i;
    index_ = i;
    onDeletedRow_ = place.onDeletedRow || i == n || keyAt(i) != place.key;
}

void DataControl::first()
{
    onDeletedRow_ = false;
    index_ = 0;
}

void DataControl::last()
{
    onDeletedRow_ = false;
    index_ = RecordCount() - 1;
}

void DataControl::next() { stepForward(index_, onDeletedRow_, RecordCount()); }

void DataControl::previous() { stepBack(index_, onDeletedRow_); }

bool DataControl::moveBy(void (DataControl::*move)())
{
    if (!leaveRow())
        return false;
    (this->*move)();
    const bool ok = readCurrentRow();
    showCurrentRow();
    return ok;
}

bool DataControl::MoveFirst() { return moveBy(&DataControl::first); }
bool DataControl::MovePrevious() { return moveBy(&DataControl::previous); }
bool DataControl::MoveNext() { return moveBy(&DataControl::next); }
bool DataControl::MoveLast() { return moveBy(&DataControl::last); }

QVariant DataControl::Fields(const QString& name) const
{
    return adding_ ? QVariant() : stored(name);
}

bool DataControl::AddNew()
{
    if (!leaveRow())
        return false;
    adding_ = true;
    showCurrentRow();
    return true;
}

bool DataControl::Update() { return store(false) == Write::Stored; }

bool DataControl::UpdateTyped() { return leaveRow(); }

// Whether the row under the current key still holds every value the
// control read, in the caller's transaction; false when the check failed
// (reported).
bool DataControl::checkShown(Database& db, const QString& table, bool* same)
{
    const Recordset now = db.OpenRecordset(rowByKey(table), {currentKey()});
    if (!now.isValid())
        return false;
    *same = now.hasCurrentRow() && current_.hasCurrentRow();
    for (const QString& column : current_.columns_)
        if (*same && now.hasField(column))
            *same = sameValue(current_.Fields(column), now.Fields(column));
    return true;
}

// What was typed belonged to the row that is gone: it is dropped with the
// message, and the rows are read again.
void DataControl::refuseGoneRow(const QString& notDone)
{
    ErrorBox(goneRowText(databaseName_, displayText(current_.Fields(testRecordFields()[0])),
                         displayText(current_.Fields(testRecordFields()[6])), notDone));
    for (Binding& b : bindings_)
        b.edited = false;
    if (!reread(true)) {
        // Nothing that could be read: nothing shown, and nothing to write to.
        current_ = Recordset();
        showCurrentRow();
    }
}

bool DataControl::Delete()
{
    if (adding_) {
        adding_ = false;
        showCurrentRow();
        return true;
    }
    if (!hasCurrentRow()) {
        ErrorBox(QStringLiteral("数据库文件 %1 中没有当前记录，无法删除。").arg(shownPath(databaseName_)));
        return false;
    }
    const QVariant key = currentKey();
    if (!key.isValid()) {
        ErrorBox(QStringLiteral("记录源中没有记录的编号，无法删除数据库文件 %1 中的记录。")
                     .arg(shownPath(databaseName_)));
        return false;
    }
    QString table;
    auto db = openTable(&table);
    if (!db || !db->BeginTrans())
        return false;
    bool same = false;
    const bool checked = checkShown(*db, table, &same);
    if (!checked || !same || !db->DeleteRow(table, key) || !db->CommitTrans()) {
        db->Rollback();   // says its own failure, and undoes the write however it can
        db.reset();
        if (checked && !same)
            refuseGoneRow(QStringLiteral("这条记录没有删除"));
        return false;   // any other failure has been reported
    }
    if (keyed_)
        keys_.erase(keys_.begin() + index_);
    else
        rows_.rows_.removeAt(index_);
    onDeletedRow_ = true;
    current_ = Recordset();
    showCurrentRow();
    return true;
}

FieldTexts DataControl::boundTexts(bool typedOnly) const
{
    FieldTexts texts;
    for (const Binding& b : bindings_) {
        const auto* edit = qobject_cast<const QLineEdit*>(b.control.data());
        if (!edit || (typedOnly && !b.edited))
            continue;
        // A stored row keeps every field whose box still shows it as stored,
        // so that a save never rewrites what the user left alone.
        if (adding_ || edit->text() != displayText(stored(b.field)))
            texts.append({b.field, edit->text()});
    }
    return texts;
}

bool DataControl::anyEdited() const
{
    for (const Binding& b : bindings_)
        if (b.control && b.edited)
            return true;
    return false;
}

DataControl::Write DataControl::store(bool typedOnly)
{
    if (!adding_) {
        if (!hasCurrentRow()) {
            ErrorBox(QStringLiteral("数据库文件 %1 中没有当前记录，无法保存修改。")
                         .arg(shownPath(databaseName_)));
            return Write::Refused;
        }
        if (!currentKey().isValid()) {
            ErrorBox(QStringLiteral("记录源中没有记录的编号，无法修改数据库文件 %1 中的记录。")
                         .arg(shownPath(databaseName_)));
            return Write::Refused;
        }
    }
    QString table;
    auto db = openTable(&table);
    if (!db || !db->BeginTrans())
        return Write::Refused;

    // The check that the row is still the one shown, the write and the
    // read-back of the stored row are one transaction: nothing can come
    // between them.
    const FieldTexts texts = boundTexts(typedOnly);
    QVariant key = adding_ ? QVariant() : currentKey();
    bool same = true;
    bool ok = adding_ || checkShown(*db, table, &same);
    if (ok && same)
        ok = adding_ ? db->InsertRow(table, texts, &key) : db->UpdateRow(table, key, texts);
    Recordset stored;
    if (ok && same) {
        stored = db->OpenRecordset(rowByKey(table), {key});
        ok = stored.isValid();
    }
    if (ok && same)
        ok = db->CommitTrans();
    if (!ok || !same) {
        db->Rollback();   // says its own failure, and undoes the write however it can
        db.reset();
        if (!ok)
            return Write::Refused;
        refuseGoneRow(QStringLiteral("输入的修改没有保存"));
        return Write::RowGone;
    }

    if (adding_) {
        if (keyed_)
            keys_.push_back(key.toLongLong());   // keys only grow: still in order
        else
            rows_.appendRow(stored);
        index_ = RecordCount() - 1;
        onDeletedRow_ = false;
        adding_ = false;
    } else if (!keyed_) {
        rows_.rows_[index_] = rows_.rowFrom(stored);
    }
    if (keyed_)
        current_ = stored;
    else
        readCurrentRow();
    showCurrentRow();
    return Write::Stored;
}

bool DataControl::leaveRow()
{
    if (adding_) {
        if (anyEdited())
            return store(false) == Write::Stored;
        adding_ = false;
        return true;
    }
    // Typing into a row that is no longer there has been said, and the rows
    // read again; the control moves on rather than stay on a row that is
    // not there.
    return !anyEdited() || !hasCurrentRow() || store(true) != Write::Refused;
}

void DataControl::databaseReplaced(const QString& path)
{
    if (!read_ || databaseName_.isEmpty() || QFileInfo(databaseName_).absoluteFilePath() != path)
        return;
    // The rows read before, and their keys, are gone. A failure has been
    // said by Refresh itself; the controls keep what they show.
    static_cast<void>(Refresh());
}

void DataControl::showCurrentRow()
{
    const bool onRow = !adding_ && hasCurrentRow();
    for (Binding& b : bindings_) {
        const QString text = onRow ? displayText(stored(b.field)) : QString();
        if (auto* label = qobject_cast<QLabel*>(b.control.data()))
            label->setText(text);
        else if (auto* edit = qobject_cast<QLineEdit*>(b.control.data())) {
            edit->setText(text);
            edit->setCursorPosition(0);   // a long text shows its beginning
        }
        b.edited = false;
    }
    emit rowShown();
}

void DataControl::markEdited(QWidget* control)
{
    for (Binding& b : bindings_)
        if (b.control == control)
            b.edited = true;
}

bool DataControl::bind(QWidget* control, const QString& field)
{
    auto* label = qobject_cast<QLabel*>(control);
    auto* edit = qobject_cast<QLineEdit*>(control);
    if (!label && !edit)
        return false;

    Binding* binding = nullptr;
    for (Binding& b : bindings_)
        if (b.control == control)
            binding = &b;
    if (!binding) {
        bindings_.push_back({control, field, false});
        binding = &bindings_.back();
        if (edit) {
            // A stored text of any length is shown, and written back, whole.
            edit->setMaxLength(std::numeric_limits<int>::max());
            connect(edit, &QLineEdit::textEdited, this, [this, edit] { markEdited(edit); });
        }
    }
    binding->field = field;
    binding->edited = false;

    const QString text = (!adding_ && hasCurrentRow()) ? displayText(stored(field)) : QString();
    if (label)
        label->setText(text);
    else
        edit->setText(text);
    return true;
}

} // namespace zol
