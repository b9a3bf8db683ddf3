#include "records/recordgrid.h"

#include "platform/database.h"
#include "platform/datacontrol.h"
#include "platform/datanotices.h"
#include "platform/dialogs.h"

#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QSqlQuery>
#include <QTimer>
#include <algorithm>

namespace zol {

namespace {

QString valueText(const QVariant& v) { return v.isNull() ? QString() : v.toString(); }

} // namespace

// --- RecordsModel -------------------------------------------------------------

RecordsModel::RecordsModel(QObject* parent) : QAbstractTableModel(parent)
{
    resetNewRow();
    connect(&DatabaseNotices::instance(), &DatabaseNotices::replaced, this,
            &RecordsModel::databaseReplaced);
}

RecordsModel::~RecordsModel() = default;

const QStringList& RecordsModel::gridFields()
{
    static const QStringList fields = {
        QStringLiteral("编号"),    QStringLiteral("姓名"),    QStringLiteral("性别"),
        QStringLiteral("年龄"),    QStringLiteral("文化"),    QStringLiteral("民族"),
        QStringLiteral("职业"),    QStringLiteral("来源"),    QStringLiteral("测试日期"),
        QStringLiteral("粗份P"),   QStringLiteral("粗分E"),   QStringLiteral("粗分N"),
        QStringLiteral("粗分L"),   QStringLiteral("标准分P"), QStringLiteral("标准分E"),
        QStringLiteral("标准分N"), QStringLiteral("标准分L"), QStringLiteral("P评价"),
        QStringLiteral("E评价"),   QStringLiteral("N评价"),   QStringLiteral("L评价"),
    };
    return fields;
}

void RecordsModel::setDatabaseName(const QString& path)
{
    if (path != databaseName_)
        db_.reset();
    databaseName_ = path;
}

void RecordsModel::setRecordSource(const QString& condition, const QVariantList& params)
{
    condition_ = condition;
    params_ = params;
}

bool RecordsModel::open()
{
    // A connection to a file that was deleted, or had another moved over it,
    // reads the old rows and may not write: the file now under the name is
    // opened instead, and each write checks its row against that file.
    if (db_ && db_->fileReplaced())
        db_.reset();
    if (!db_)
        db_ = Database::OpenDatabase(databaseName_);
    return db_ != nullptr;
}

bool RecordsModel::Refresh() { return readKeys(false); }

// The keys go straight into keys_ (8 bytes a row, its storage reused from
// the last read); no row of values is built for them. A row being added
// is kept when the rows are read again after the file's content changed.
bool RecordsModel::readKeys(bool keepNewRow)
{
    beginResetModel();
    keys_.clear();
    pages_.clear();
    if (!keepNewRow)
        resetNewRow();
    QString error;
    bool ok = open();
    if (ok) {
        QString sql = QStringLiteral("SELECT rowid FROM ") + quoteIdentifier(testRecordTable());
        if (!condition_.isEmpty())
            sql += QStringLiteral(" WHERE ") + condition_;
        QSqlQuery q(db_->connection());
        q.setForwardOnly(true);
        ok = q.prepare(sql + QStringLiteral(" ORDER BY rowid"));
        for (const QVariant& p : params_)
            q.addBindValue(p);
        ok = ok && q.exec();
        while (ok && q.next())
            keys_.append(q.value(0).toLongLong());
        if (!ok || q.lastError().isValid()) {
            ok = false;
            keys_.clear();
            error = describeDatabaseError(q.lastError(), databaseName_);
        }
    }
    endResetModel();
    // Said once the view has its rows again.
    if (!error.isEmpty())
        ErrorBox(error);
    return ok;
}

void RecordsModel::databaseReplaced(const QString& path)
{
    if (!db_ || QFileInfo(databaseName_).absoluteFilePath() != path)
        return;
    // A failure has been said by readKeys itself, and the grid is empty.
    static_cast<void>(readKeys(true));
}

bool RecordsModel::readRows(const QVector<qint64>& keys, QHash<qint64, Row>* rows,
                            QString* error) const
{
    if (keys.isEmpty() || !db_)
        return true;
    QStringList columns{QStringLiteral("rowid")};
    for (const QString& f : gridFields())
        columns << quoteIdentifier(f);
    QStringList marks;
    for (int i = 0; i < keys.size(); ++i)
        marks << QStringLiteral("?");
    QSqlQuery q(db_->connection());
    q.setForwardOnly(true);
    bool ok = q.prepare(QStringLiteral("SELECT %1 FROM %2 WHERE rowid IN (%3)")
                            .arg(columns.join(QLatin1Char(',')), quoteIdentifier(testRecordTable()),
                                 marks.join(QLatin1Char(','))));
    for (qint64 k : keys)
        q.addBindValue(k);
    ok = ok && q.exec();
    while (ok && q.next()) {
        Row row;
        row.reserve(gridFields().size());
        for (int i = 1; i <= gridFields().size(); ++i)
            row << valueText(q.value(i));
        rows->insert(q.value(0).toLongLong(), row);
    }
    if (!ok || q.lastError().isValid()) {
        *error = describeDatabaseError(q.lastError(), databaseName_);
        return false;
    }
    return true;
}

// Rows are read while the view paints; a message box there would paint
// again and ask again. The message waits for the event loop, and one is
// enough however many pages failed.
void RecordsModel::reportLater(const QString& message) const
{
    if (reportPending_)
        return;
    reportPending_ = true;
    QTimer::singleShot(0, this, [this, message] {
        ErrorBox(message);
        reportPending_ = false;
    });
}

const RecordsModel::Row& RecordsModel::rowAt(int row) const
{
    static const Row blank(gridFields().size());
    if (isNewRow(row))
        return newRow_;
    if (row < 0 || row >= keys_.size())
        return blank;
    const int page = row / kPageRows;
    auto it = pages_.find(page);
    if (it == pages_.end()) {
        if (pages_.size() > 256)
            pages_.clear();
        const QVector<qint64> keys = keys_.mid(page * kPageRows, kPageRows);
        QHash<qint64, Row> rows;
        QString error;
        if (!readRows(keys, &rows, &error))
            reportLater(error);
        QVector<Row> pageRows;
        pageRows.reserve(keys.size());
        // A row deleted by another window meanwhile shows empty.
        for (qint64 k : keys)
            pageRows << rows.value(k, blank);
        it = pages_.insert(page, pageRows);
    }
    return it->at(row - page * kPageRows);
}

void RecordsModel::rereadRow(int row)
{
    const int page = row / kPageRows;
    auto it = pages_.find(page);
    if (it != pages_.end()) {
        QHash<qint64, Row> rows;
        QString error;
        if (readRows({keys_[row]}, &rows, &error)) {
            (*it)[row - page * kPageRows] = rows.value(keys_[row], Row(gridFields().size()));
        } else {
            pages_.erase(it);
            reportLater(error);
        }
    }
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

void RecordsModel::resetNewRow()
{
    newRow_ = Row(gridFields().size());
    newRowTouched_ = false;
}

void RecordsModel::setAllowAddNew(bool on)
{
    if (on == allowAddNew_)
        return;
    const int row = int(keys_.size());
    if (on) {
        beginInsertRows(QModelIndex(), row, row);
        allowAddNew_ = true;
        resetNewRow();
        endInsertRows();
    } else {
        beginRemoveRows(QModelIndex(), row, row);
        allowAddNew_ = false;
        resetNewRow();
        endRemoveRows();
    }
}

void RecordsModel::setAllowUpdate(bool on)
{
    allowUpdate_ = on;
    if (!keys_.isEmpty())
        emit dataChanged(index(0, 0), index(int(keys_.size()) - 1, columnCount() - 1));
}

bool RecordsModel::commitNewRow()
{
    if (!allowAddNew_ || !newRowTouched_)
        return true;
    FieldTexts values;
    for (int i = 0; i < gridFields().size(); ++i)
        values << qMakePair(gridFields()[i], newRow_[i]);
    QVariant key;
    if (!open() || !db_->InsertRow(testRecordTable(), values, &key))
        return false;
    // The adding row becomes the new stored row; a fresh adding row follows.
    const int row = int(keys_.size());
    beginInsertRows(QModelIndex(), row + 1, row + 1);
    keys_.append(key.toLongLong());
    resetNewRow();
    endInsertRows();
    pages_.remove(row / kPageRows);
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    emit headerDataChanged(Qt::Vertical, row, row + 1);
    return true;
}

void RecordsModel::discardNewRow()
{
    if (!newRowTouched_)
        return;
    resetNewRow();
    const int row = int(keys_.size());
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

bool RecordsModel::deleteRows(QList<int> rows)
{
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (!rows.isEmpty() && isNewRow(rows.first())) {
        discardNewRow();
        rows.removeFirst();
    }
    rows.erase(std::remove_if(rows.begin(), rows.end(),
                              [this](int r) { return r < 0 || r >= keys_.size(); }),
               rows.end());
    if (rows.isEmpty())
        return true;
    if (!open() || !db_->BeginTrans())
        return false;
    for (int r : rows) {
        const Row shown = rowAt(r);
        bool same = false;
        const bool checked = checkShown(keys_[r], shown, &same);
        if (!checked || !same || !db_->DeleteRow(testRecordTable(), keys_[r])) {
            undo();
            if (checked && !same) {
                refuseGoneRow(shown, rows.size() == 1 ? QStringLiteral("这条记录没有删除")
                                                      : QStringLiteral("选中的记录都没有删除"));
                static_cast<void>(readKeys(true));   // a failure has been said
            }
            return false;
        }
    }
    if (!db_->CommitTrans()) {
        undo();
        return false;
    }
    for (int r : rows) {
        beginRemoveRows(QModelIndex(), r, r);
        keys_.remove(r);
        endRemoveRows();
    }
    pages_.clear();
    return true;
}

int RecordsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(keys_.size()) + (allowAddNew_ ? 1 : 0);
}

int RecordsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(gridFields().size());
}

QVariant RecordsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return QVariant();
    return rowAt(index.row()).value(index.column());
}

QVariant RecordsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Horizontal)
        return gridFields().value(section);
    return isNewRow(section) ? QStringLiteral("*") : QString();
}

Qt::ItemFlags RecordsModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (isNewRow(index.row()) ? allowAddNew_ : allowUpdate_)
        f |= Qt::ItemIsEditable;
    return f;
}

bool RecordsModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const int row = index.row();
    const QString text = value.toString();
    if (text == rowAt(row).value(index.column()))
        return true;   // nothing changed, nothing written
    if (isNewRow(row)) {
        newRow_[index.column()] = text;
        newRowTouched_ = true;
        emit dataChanged(index, index);
        return true;
    }
    if (!open() || !db_->BeginTrans()) {
        rereadRow(row);
        return false;
    }
    const Row shown = rowAt(row);
    bool same = false;
    const bool checked = checkShown(keys_[row], shown, &same);
    const bool ok = checked && same
        && db_->UpdateRow(testRecordTable(), keys_[row], {{gridFields()[index.column()], text}})
        && db_->CommitTrans();
    if (!ok)
        undo();
    if (checked && !same) {
        refuseGoneRow(shown, QStringLiteral("输入的修改没有保存"));
        // Not under the view's feet while it is handing over its editor.
        QTimer::singleShot(0, this, [this] { static_cast<void>(readKeys(true)); });
        return false;
    }
    // Either way the row shows what is stored now.
    rereadRow(row);
    return ok;
}

// Whether the row under key still holds every text the grid shows for it,
// read in the caller's transaction; false when the check failed (said).
bool RecordsModel::checkShown(qint64 key, const Row& shown, bool* same)
{
    QHash<qint64, Row> rows;
    QString error;
    if (!readRows({key}, &rows, &error)) {
        ErrorBox(error);
        return false;
    }
    *same = rows.contains(key) && rows.value(key) == shown;
    return true;
}

void RecordsModel::refuseGoneRow(const Row& shown, const QString& notDone)
{
    ErrorBox(goneRowText(databaseName_, shown.value(gridFields().indexOf(QStringLiteral("姓名"))),
                         shown.value(gridFields().indexOf(QStringLiteral("编号"))), notDone));
}

// After a failure that has been said. Rollback says its own, and opens a
// connection whose transaction the engine could not undo afresh.
void RecordsModel::undo() { db_->Rollback(); }

// --- DataGrid -----------------------------------------------------------------

DataGrid::DataGrid(QWidget* parent) : QTableView(parent), model_(new RecordsModel(this))
{
    setModel(model_);
    // Fixed row heights and column widths: the view never measures rows it
    // does not show.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(20);
    verticalHeader()->setMinimumWidth(16);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setDefaultSectionSize(72);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    updateEditTriggers();
    // Leaving the adding row stores it; a refusal has been said, and the
    // row keeps its texts for the user to mend.
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current, const QModelIndex& previous) {
                if (previous.isValid() && model_->isNewRow(previous.row())
                    && current.row() != previous.row())
                    newRowStored_ = model_->commitNewRow();
            });
}

// A row being added that cannot be stored keeps the switches as they are.
void DataGrid::setAllowAddNew(bool on)
{
    if (!on && !finishEditing())
        return;
    model_->setAllowAddNew(on);
    updateEditTriggers();
}

void DataGrid::setAllowUpdate(bool on)
{
    if (!on && !finishEditing())
        return;
    model_->setAllowUpdate(on);
    updateEditTriggers();
}

void DataGrid::updateEditTriggers()
{
    setEditTriggers(AllowAddNew() || AllowUpdate()
                        ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                              | QAbstractItemView::AnyKeyPressed
                              | QAbstractItemView::SelectedClicked
                        : QAbstractItemView::NoEditTriggers);
}

bool DataGrid::finishEditing()
{
    const bool onNewRow = model_->isNewRow(currentIndex().row());
    // Moving the current cell away commits an open editor's text; leaving
    // the adding row stores it.
    newRowStored_ = true;
    setCurrentIndex(QModelIndex());
    return onNewRow ? newRowStored_ : model_->commitNewRow();
}

bool DataGrid::deleteSelectedRows()
{
    QList<int> rows;
    for (const QModelIndex& i : selectionModel()->selectedRows())
        rows << i.row();
    if (rows.isEmpty() || !AllowDelete())
        return false;
    const QString question = rows.size() == 1
        ? QStringLiteral("你真要删除这条记录吗？")
        : QStringLiteral("你真要删除这%1条记录吗？").arg(rows.size());
    if (MsgBox(question, vbOKCancel | vbInformation, QStringLiteral("询问")) != vbOK)
        return false;
    return model_->deleteRows(rows);
}

void DataGrid::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Delete && AllowDelete() && state() != EditingState
        && selectionModel()->hasSelection() && !selectionModel()->selectedRows().isEmpty()) {
        static_cast<void>(deleteSelectedRows());   // a refusal has been said
        return;
    }
    QTableView::keyPressEvent(event);
}

} // namespace zol
