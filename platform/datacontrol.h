// The data control a window carries: it reads a record source from the
// database file, keeps a current row, and shows that row in the labels and
// text boxes bound to it. Writes go to the file at once; each operation opens
// the file, does its work and closes it again.
//
// A table is read by its row keys alone, and the fields of the current row
// are read when a move reaches it: counsellors keep years of tests, and a
// window that shows one row at a time must not read them all first. An SQL
// text is read whole.
//
// Operations that can fail report the failure themselves (one message box,
// see database.h) and return false, leaving the file and the current row as
// they were.
#pragma once

#include "platform/database.h"

#include <QObject>
#include <QPointer>
#include <QVariantList>
#include <QWidget>
#include <vector>

namespace zol {

// The message for a write or delete refused because the row a window shows
// is gone from the file at path or holds another test now: it names the
// shown test by its 姓名 and 编号 and says what was not done.
QString goneRowText(const QString& path, const QString& name, const QString& number,
                    const QString& notDone);

class DataControl : public QObject {
    Q_OBJECT
public:
    explicit DataControl(QObject* parent = nullptr);
    ~DataControl() override;

    // The database file, e.g. databasePath().
    QString DatabaseName() const { return databaseName_; }
    void setDatabaseName(const QString& path) { databaseName_ = path; }

    // A table name, read in the order its rows were stored, or an SQL text
    // with '?' placeholders filled from params. Takes effect at Refresh().
    QString RecordSource() const { return recordSource_; }
    QVariantList RecordSourceParameters() const { return parameters_; }
    void setRecordSource(const QString& source, const QVariantList& params = {});

    // Reads the record source again; the bound controls show its first row.
    // Rows that were read are read again, on their first row, whenever this
    // copy of the program replaces the file's content (DatabaseNotices).
    [[nodiscard]] bool Refresh();
    // Reads the record source again and keeps the place: the row shown stays
    // current; when it is gone, the place is where it stood, between its
    // neighbours (as after Delete), so that the next move goes on from there.
    [[nodiscard]] bool Requery();
    // Requery when the table's rows are no longer the ones read: another
    // window or copy saved, deleted or restored meanwhile. The number of rows
    // (count, as the caller just counted them) and the largest key tell,
    // since keys are never given twice (a restore gives its rows keys above
    // every key used before).
    [[nodiscard]] bool RequeryIfChanged(qint64 count);

    [[nodiscard]] bool MoveFirst();
    [[nodiscard]] bool MovePrevious();
    [[nodiscard]] bool MoveNext();
    [[nodiscard]] bool MoveLast();

    bool isBOF() const;
    bool isEOF() const;
    int RecordCount() const;
    bool hasCurrentRow() const;
    // The current row's value (see Recordset::Fields); nothing while a new row
    // is being added.
    QVariant Fields(const QString& name) const;

    // Starts a new, empty current row; the bound controls are cleared.
    [[nodiscard]] bool AddNew();
    bool isAdding() const { return adding_; }
    // Stores the texts of the bound text boxes: as a new row after AddNew,
    // otherwise into the current row, where only the fields whose box no
    // longer shows the stored value are written (a field the user left alone
    // is never rewritten). The stored row, read back, becomes the current row.
    //
    // A write goes only into the row the control shows: when the row under
    // its key is gone or no longer holds what the control read (deleted,
    // changed by another copy of the program, or the content of the file
    // replaced, when keys of other tests may come back), nothing is written,
    // one message names the test, and the rows are read again, keeping the
    // place; a change made elsewhere is never overwritten. Delete likewise.
    [[nodiscard]] bool Update();
    // Removes the current row from the file. Until the next move there is no
    // current row; MoveNext then goes to the row that followed it. While a new
    // row is being added, the new row is dropped instead.
    [[nodiscard]] bool Delete();
    // Writes what the user typed into the bound text boxes, as leaving the
    // row does, and stays on the row (a window that closes calls it). False
    // when the typing could not be stored and is still in the boxes; a row
    // that is no longer there has been said and read again, and gives true.
    [[nodiscard]] bool UpdateTyped();

    // Shows the named field of the current row in a QLabel or a QLineEdit,
    // whose length limit is lifted so that it holds a stored text whole.
    // A QLineEdit's text is written back at Update(). When the control leaves
    // the row (a move, a re-read or AddNew), only the boxes the user typed
    // into are written back: a text the window put into a box itself never
    // reaches the file that way. Returns false for any other kind of widget.
    bool bind(QWidget* control, const QString& field);

signals:
    // The bound controls have just been filled from the current row (or
    // cleared when there is none).
    void rowShown();

private:
    struct Binding {
        QPointer<QWidget> control;
        QString field;
        bool edited = false;
    };
    // How a write into the current row ended.
    enum class Write { Stored, Refused, RowGone };

    std::unique_ptr<Database> open();
    std::unique_ptr<Database> openTable(QString* table);
    bool sourceIsTable() const;
    QString sourceSql() const;
    bool writeTable(QString* table);
    bool read(Database& db);
    bool readKeys(Database& db);
    bool readCurrentRow(Database* db = nullptr);
    bool reread(bool keepPlace);
    // Where the control stood: before the start, past the end, on (or, when
    // onDeletedRow, just past) the row with key, or on the first row of an
    // SQL text without keys.
    struct Place {
        enum { Start, End, Key, First } at;
        qint64 key = 0;
        bool onDeletedRow = false;
    };
    Place placeNow() const;
    void placeAt(const Place& place);
    qint64 keyAt(int i) const;
    QVariant currentKey() const;
    QVariant stored(const QString& field) const;
    FieldTexts boundTexts(bool typedOnly) const;
    bool anyEdited() const;
    Write store(bool typedOnly);
    bool checkShown(Database& db, const QString& table, bool* same);
    void refuseGoneRow(const QString& whatWasNotDone);
    bool leaveRow();
    bool moveBy(void (DataControl::*move)());
    void first();
    void previous();
    void next();
    void last();
    void showCurrentRow();
    void markEdited(QWidget* control);
    void databaseReplaced(const QString& path);

    QString databaseName_;
    QString recordSource_;
    QVariantList parameters_;
    bool keyed_ = false;   // a table: keys_ holds its row keys
    bool read_ = false;    // rows have been read
    // A table's rows are its keys alone, 8 bytes a row; an SQL text's rows
    // are read whole into rows_.
    std::vector<qint64> keys_;
    Recordset rows_;
    // The position among the rows; see Recordset.
    int index_ = 0;
    bool onDeletedRow_ = false;
    // The current row as read: what the bound controls show, and what a
    // write checks the stored row against.
    Recordset current_;
    bool adding_ = false;
    std::vector<Binding> bindings_;
};

} // namespace zol
