#include "platform/datacontrol.h"

#include "platform/dialogs.h"
#include "platform/paths.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <limits>

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

} // namespace

DataControl::DataControl(QObject* parent) : QObject(parent) {}

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
    QString table = unquoted(recordSource_.trimmed());
    table.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QStringLiteral("SELECT %1 AS %2 FROM \"%3\" ORDER BY %1")
        .arg(recordKeyExpression(), recordKeyField(), table);
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

// Reads the record source into rows_, positioned on its first row; the
// fields of a table's current row are read by readCurrentRow.
bool DataControl::read(Database& db)
{
    Recordset rs = db.OpenRecordset(sourceSql(), keyed_ ? QVariantList() : parameters_);
    if (!rs.isValid())
        return false;
    rows_ = rs;
    current_ = Recordset();
    adding_ = false;
    return true;
}

// A row another window deleted meanwhile has no fields to show: its
// controls show nothing.
bool DataControl::readCurrentRow(Database* db)
{
    current_ = Recordset();
    if (!keyed_ || adding_ || !rows_.hasCurrentRow())
        return true;
    std::unique_ptr<Database> own;
    if (!db) {
        own = open();
        db = own.get();
    }
    if (!db)
        return false;
    Recordset rs = db->OpenRecordset(rowByKey(unquoted(recordSource_.trimmed())), {rows_.rowKey()});
    if (!rs.isValid())
        return false;
    current_ = rs;
    return true;
}

QVariant DataControl::stored(const QString& field) const
{
    return keyed_ ? current_.Fields(field) : rows_.Fields(field);
}

// The file, and the table the record source reads (the one writes go to).
std::unique_ptr<Database> DataControl::openTable(QString* table)
{
    if (!writeTable(table))
        return nullptr;
    return open();
}

bool DataControl::Refresh() { return reread(false); }

bool DataControl::Requery() { return reread(true); }

bool DataControl::reread(bool keepPlace)
{
    if (recordSource_.trimmed().isEmpty()) {
        ErrorBox(QStringLiteral("没有指定记录源，无法读取数据库文件 %1。").arg(shownPath(databaseName_)));
        return false;
    }
    if (!leaveRow())
        return false;
    const Recordset before = rows_;
    const auto db = open();
    if (!db || !read(*db))
        return false;
    if (keepPlace)
        placeAsIn(before);
    const bool ok = readCurrentRow(db.get());
    showCurrentRow();
    return ok;
}

// Puts the control where it stood in the rows read before: on the same
// row, or, when that row is gone, in the gap before the row that followed
// it; before the start or past the end as it was. Rows are in key order.
void DataControl::placeAsIn(const Recordset& old)
{
    if (old.rows_.isEmpty() || (old.index_ < 0 && !old.onDeletedRow_)) {
        rows_.index_ = -1;
        return;
    }
    const int oldKey = old.columnIndex(recordKeyField());
    const int newKey = rows_.columnIndex(recordKeyField());
    if (oldKey < 0 || newKey < 0)
        return;   // no keys to find the place by: the first row
    const int n = int(rows_.rows_.size());
    if (old.index_ >= old.rows_.size()) {
        rows_.index_ = n;
        return;
    }
    const qint64 key = old.rows_[old.index_].value(oldKey).toLongLong();
    // Keys are in ascending order: the first one not below key.
    int i = 0;
    while (i < n && rows_.rows_[i].value(newKey).toLongLong() < key)
        ++i;
    rows_.index_ = i;
    rows_.onDeletedRow_ =
        old.onDeletedRow_ || i == n || rows_.rows_[i].value(newKey).toLongLong() != key;
}

bool DataControl::moveBy(void (Recordset::*move)())
{
    if (!leaveRow())
        return false;
    (rows_.*move)();
    const bool ok = readCurrentRow();
    showCurrentRow();
    return ok;
}

bool DataControl::MoveFirst() { return moveBy(&Recordset::MoveFirst); }
bool DataControl::MovePrevious() { return moveBy(&Recordset::MovePrevious); }
bool DataControl::MoveNext() { return moveBy(&Recordset::MoveNext); }
bool DataControl::MoveLast() { return moveBy(&Recordset::MoveLast); }

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

bool DataControl::Update() { return store(false); }

bool DataControl::UpdateTyped() { return leaveRow(); }

bool DataControl::Delete()
{
    if (adding_) {
        adding_ = false;
        showCurrentRow();
        return true;
    }
    if (!rows_.hasCurrentRow()) {
        ErrorBox(QStringLiteral("数据库文件 %1 中没有当前记录，无法删除。").arg(shownPath(databaseName_)));
        return false;
    }
    if (!rows_.rowKey().isValid()) {
        ErrorBox(QStringLiteral("记录源中没有记录的编号，无法删除数据库文件 %1 中的记录。")
                     .arg(shownPath(databaseName_)));
        return false;
    }
    QString table;
    const auto db = openTable(&table);
    if (!db || !db->DeleteRow(table, rows_.rowKey()))
        return false;
    rows_.removeCurrentRow();
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

bool DataControl::store(bool typedOnly)
{
    if (!adding_) {
        if (!rows_.hasCurrentRow()) {
            ErrorBox(QStringLiteral("数据库文件 %1 中没有当前记录，无法保存修改。")
                         .arg(shownPath(databaseName_)));
            return false;
        }
        if (!rows_.rowKey().isValid()) {
            ErrorBox(QStringLiteral("记录源中没有记录的编号，无法修改数据库文件 %1 中的记录。")
                         .arg(shownPath(databaseName_)));
            return false;
        }
    }
    QString table;
    const auto db = openTable(&table);
    if (!db)
        return false;

    // The write and the read-back of the stored row succeed or fail together.
    if (!db->BeginTrans())
        return false;
    const FieldTexts texts = boundTexts(typedOnly);
    QVariant key = adding_ ? QVariant() : rows_.rowKey();
    bool ok = adding_ ? db->InsertRow(table, texts, &key) : db->UpdateRow(table, key, texts);
    Recordset stored;
    if (ok) {
        stored = db->OpenRecordset(rowByKey(table), {key});
        ok = stored.isValid();
    }
    if (ok)
        ok = db->CommitTrans();
    if (!ok) {
        db->Rollback();
        return false;
    }

    if (adding_) {
        rows_.appendRow(stored);
        adding_ = false;
    } else if (!keyed_) {
        rows_.replaceCurrentRow(stored);
    }
    if (keyed_)
        current_ = stored;
    showCurrentRow();
    return true;
}

bool DataControl::leaveRow()
{
    if (adding_) {
        if (anyEdited())
            return store(false);
        adding_ = false;
        return true;
    }
    if (!anyEdited() || !rows_.hasCurrentRow() || store(true))
        return true;
    // Typing into a row that another window deleted meanwhile cannot be
    // stored (the message has said so); the control moves on rather than
    // stay on a row that is no longer there.
    return currentRowIsGone();
}

bool DataControl::currentRowIsGone()
{
    QString table;
    const auto db = openTable(&table);
    if (!db)
        return false;
    const Recordset rs = db->OpenRecordset(
        QStringLiteral("SELECT count(*) AS n FROM (%1)").arg(rowByKey(table)), {rows_.rowKey()});
    return rs.isValid() && rs.Fields(QStringLiteral("n")).toInt() == 0;
}

void DataControl::showCurrentRow()
{
    const bool onRow = !adding_ && rows_.hasCurrentRow();
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

    const QString text = (!adding_ && rows_.hasCurrentRow()) ? displayText(stored(field)) : QString();
    if (label)
        label->setText(text);
    else
        edit->setText(text);
    return true;
}

} // namespace zol
