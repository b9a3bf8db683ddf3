// A grid of stored tests: the rows of 用户信息 that one condition chooses,
// shown field by field and, while editing is allowed, changed, added and
// deleted in place.
//
// Counsellors keep years of tests, so the grid never reads the whole table:
// a query reads only the row ids (in the order the rows were stored), and
// the fields of a row are read, a page at a time, when the view shows it.
//
// A change or a delete goes only into the row the grid shows: when the row
// under its key is gone or no longer holds what the grid shows (deleted or
// changed elsewhere, or the content of the file replaced), nothing is
// written, one message names the test, and the rows are read again. They
// are read again, too, whenever this copy of the program replaces the
// file's content (DatabaseNotices).
#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QStringList>
#include <QTableView>
#include <QVariantList>
#include <QVector>
#include <memory>

namespace zol {

class Database;

class RecordsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit RecordsModel(QObject* parent = nullptr);
    ~RecordsModel() override;

    // The columns: the 21 fields of a stored test in the grid's order, each
    // captioned with its name. The hidden key is never one of them.
    static const QStringList& gridFields();

    QString DatabaseName() const { return databaseName_; }
    void setDatabaseName(const QString& path);
    // A condition on 用户信息 with '?' placeholders and their values (empty:
    // every row). Takes effect at Refresh().
    void setRecordSource(const QString& condition, const QVariantList& params = {});
    // Reads the rows again. A failure is reported and leaves the grid empty.
    [[nodiscard]] bool Refresh();

    // The three switches of the grid. Adding shows an empty last row "*";
    // what is typed into it is stored as one new row when the user leaves
    // it (commitNewRow).
    bool AllowAddNew() const { return allowAddNew_; }
    bool AllowDelete() const { return allowDelete_; }
    bool AllowUpdate() const { return allowUpdate_; }
    void setAllowAddNew(bool on);
    void setAllowDelete(bool on) { allowDelete_ = on; }
    void setAllowUpdate(bool on);

    // Rows of stored tests shown (the adding row not counted).
    int storedRowCount() const { return int(keys_.size()); }
    bool isNewRow(int row) const { return allowAddNew_ && row == keys_.size(); }
    // Stores the row being added, if anything was typed into it. On a
    // refusal (reported) the typed texts stay for the user to mend.
    [[nodiscard]] bool commitNewRow();
    // Drops what was typed into the adding row.
    void discardNewRow();
    // Deletes the stored tests of these rows, all or none (the failure is
    // reported). The adding row among them is discarded.
    [[nodiscard]] bool deleteRows(QList<int> rows);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // A change of a stored row is written at once; a change the engine
    // refuses is reported and the row shows its stored values again.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

private:
    static constexpr int kPageRows = 64;
    using Row = QStringList;

    bool open();
    bool readKeys(bool keepNewRow);
    const Row& rowAt(int row) const;
    bool readRows(const QVector<qint64>& keys, QHash<qint64, Row>* rows, QString* error) const;
    void reportLater(const QString& message) const;
    void rereadRow(int row);
    void resetNewRow();
    bool checkShown(qint64 key, const Row& shown, bool* same);
    void refuseGoneRow(const Row& shown, const QString& notDone);
    void undo();
    void databaseReplaced(const QString& path);

    QString databaseName_;
    QString condition_;
    QVariantList params_;
    std::unique_ptr<Database> db_;
    QVector<qint64> keys_;
    mutable QHash<int, QVector<Row>> pages_;
    Row newRow_;
    bool newRowTouched_ = false;
    bool allowAddNew_ = false;
    bool allowDelete_ = false;
    bool allowUpdate_ = false;
    mutable bool reportPending_ = false;
};

// The view: a table over a RecordsModel with the grid's three switches.
// The Delete key deletes the selected rows after asking.
class DataGrid : public QTableView {
    Q_OBJECT
public:
    explicit DataGrid(QWidget* parent = nullptr);

    RecordsModel* records() const { return model_; }
    void setAllowAddNew(bool on);
    void setAllowDelete(bool on) { model_->setAllowDelete(on); }
    void setAllowUpdate(bool on);
    bool AllowAddNew() const { return model_->AllowAddNew(); }
    bool AllowDelete() const { return model_->AllowDelete(); }
    bool AllowUpdate() const { return model_->AllowUpdate(); }

    // Closes an open editor, keeping what it holds, and stores the row
    // being added. False when that row was refused (said); its texts stay.
    [[nodiscard]] bool finishEditing();
    // Asks ("询问", OK/Cancel), then deletes the selected rows. False when
    // nothing was deleted.
    [[nodiscard]] bool deleteSelectedRows();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void updateEditTriggers();
    RecordsModel* model_;
    bool newRowStored_ = true;   // how the last leaving of the adding row ended
};

} // namespace zol
