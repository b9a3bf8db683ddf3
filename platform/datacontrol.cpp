#include "platform/datacontrol.h"

#include "platform/dialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <limits>

namespace zol {

namespace {

QString shownPath(const QString& path)
{
    if (path.isEmpty())
        return QStringLiteral("zol.mdb");
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

// A bracketed or double-quoted name loses its quotes.
QString unquoted(const QString& name)
{
    if (name.size() >= 2 && name.startsWith(QLatin1Char('[')) && name.endsWith(QLatin1Char(']')))
        return name.mid(1, name.size() - 2);
    if (name.size() >= 2 && name.startsWith(QLatin1Char('"')) && name.endsWith(QLatin1Char('"')))
        return name.mid(1, name.size() - 2).replace(QStringLiteral("\"\""), QStringLiteral("\""));
    return name;
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
}

bool DataControl::sourceIsTable() const
{
    static const QRegularExpression name(
        QStringLiteral("^(\\[[^\\]]+\\]|\"(?:[^\"]|\"\")+\"|[^\\s\\[\\]\";(),]+)$"));
    return name.match(recordSource_.trimmed()).hasMatch();
}

QString DataControl::sourceSql() const
{
    if (sourceIsTable())
        return keyedSelect(unquoted(recordSource_.trimmed()),
                           QStringLiteral("ORDER BY %1").arg(recordKeyExpression()));
    return recordSource_;
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

bool DataControl::Refresh()
{
    if (recordSource_.trimmed().isEmpty()) {
        ErrorBox(QStringLiteral("没有指定记录源，无法读取数据库文件 %1。").arg(shownPath(databaseName_)));
        return false;
    }
    if (!leaveRow())
        return false;
    const auto db = open();
    if (!db)
        return false;
    Recordset rs = db->OpenRecordset(sourceSql(), parameters_);
    if (!rs.isValid())
        return false;
    rows_ = rs;
    adding_ = false;
    showCurrentRow();
    return true;
}

bool DataControl::moveBy(void (Recordset::*move)())
{
    if (!leaveRow())
        return false;
    (rows_.*move)();
    showCurrentRow();
    return true;
}

bool DataControl::MoveFirst() { return moveBy(&Recordset::MoveFirst); }
bool DataControl::MovePrevious() { return moveBy(&Recordset::MovePrevious); }
bool DataControl::MoveNext() { return moveBy(&Recordset::MoveNext); }
bool DataControl::MoveLast() { return moveBy(&Recordset::MoveLast); }

QVariant DataControl::Fields(const QString& name) const
{
    return adding_ ? QVariant() : rows_.Fields(name);
}

bool DataControl::AddNew()
{
    if (!leaveRow())
        return false;
    adding_ = true;
    showCurrentRow();
    return true;
}

bool DataControl::Update() { return store(); }

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
    if (!writeTable(&table))
        return false;
    const auto db = open();
    if (!db || !db->DeleteRow(table, rows_.rowKey()))
        return false;
    rows_.removeCurrentRow();
    showCurrentRow();
    return true;
}

FieldTexts DataControl::boundTexts() const
{
    FieldTexts texts;
    for (const Binding& b : bindings_) {
        const auto* edit = qobject_cast<const QLineEdit*>(b.control.data());
        // A stored row keeps every field whose box still shows it as stored,
        // so that a save never rewrites what the user left alone.
        if (edit && (adding_ || edit->text() != displayText(rows_.Fields(b.field))))
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

bool DataControl::store()
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
    if (!writeTable(&table))
        return false;
    const auto db = open();
    if (!db)
        return false;

    // The write and the read-back of the stored row succeed or fail together.
    if (!db->BeginTrans())
        return false;
    const FieldTexts texts = boundTexts();
    QVariant key = adding_ ? QVariant() : rows_.rowKey();
    bool ok = adding_ ? db->InsertRow(table, texts, &key) : db->UpdateRow(table, key, texts);
    Recordset stored;
    if (ok) {
        stored = db->OpenRecordset(
            keyedSelect(table, QStringLiteral("WHERE %1 = ?").arg(recordKeyExpression())), {key});
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
    } else {
        rows_.replaceCurrentRow(stored);
    }
    showCurrentRow();
    return true;
}

bool DataControl::leaveRow()
{
    if (adding_) {
        if (anyEdited())
            return store();
        adding_ = false;
        return true;
    }
    if (anyEdited() && rows_.hasCurrentRow())
        return store();
    return true;
}

void DataControl::showCurrentRow()
{
    const bool onRow = !adding_ && rows_.hasCurrentRow();
    for (Binding& b : bindings_) {
        const QString text = onRow ? displayText(rows_.Fields(b.field)) : QString();
        if (auto* label = qobject_cast<QLabel*>(b.control.data()))
            label->setText(text);
        else if (auto* edit = qobject_cast<QLineEdit*>(b.control.data()))
            edit->setText(text);
        b.edited = false;
    }
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

    const QString text = (!adding_ && rows_.hasCurrentRow()) ? displayText(rows_.Fields(field)) : QString();
    if (label)
        label->setText(text);
    else
        edit->setText(text);
    return true;
}

} // namespace zol
