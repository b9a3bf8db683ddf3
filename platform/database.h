// The tests database: the SQLite file zol.mdb in the program folder, its
// table 用户信息, and the operations the windows use on it.
//
// Every operation that can fail reports the failure itself, with one
// message box through zol::ErrorBox (title "出错信息"), and returns false,
// nullptr or an invalid recordset. Callers therefore never show a second
// message for the same failure. The messages are Chinese sentences
// (describeDatabaseError); only an engine error that none of them foresees
// adds the engine's own words after its sentence.
//
// Several copies of the program may use one file at the same time. Rules
// that keep them from refusing or damaging each other's work:
//
// - Every write runs in an immediate transaction: the write lock is taken
//   before anything is read, and a copy that finds the file locked waits
//   (busyWaitMilliseconds(), a few seconds) before it reports that the file
//   is in use. InsertRow, UpdateRow and DeleteRow take care of this
//   themselves. Anything else that writes (several statements that belong
//   together, a model on connection(), a restore) goes between BeginTrans()
//   and CommitTrans(), Rollback() on failure; BeginTrans() is immediate.
//   (QSqlDatabase::transaction() would begin a deferred one: do not use it.)
//
// - A row is addressed by its hidden key, SQLite's own row number
//   (recordKeyExpression(), "rowid"). In a file made by this program it is
//   the key column ID; a 用户信息 table from elsewhere that has only the 21
//   fields has the row number all the same, so such a file is read, saved
//   to and deleted from like our own, and is never rebuilt or changed in
//   its layout. Recordsets carry the key under the name recordKeyField()
//   when the query selects it; keyedSelect() does:
//
//       // all row keys, in the order stored (a browser over many rows)
//       db->OpenRecordset(keyedSelect(testRecordTable(), QStringLiteral("ORDER BY rowid")))
//       // one row, by its key
//       db->OpenRecordset(keyedSelect(testRecordTable(), QStringLiteral("WHERE rowid = ?")), {key})
//
//   A grid (QSqlTableModel on connection()) finds ID as the primary key of
//   our own table; for a table without it, select and address "rowid".
//
// - Only the fields that change are written: an update never rewrites a
//   field the user left alone, even one whose stored text a box could not
//   show whole.
//
// - A text the engine cannot store whole is refused with a message naming
//   the field; a broken character (an unpaired UTF-16 surrogate) is stored
//   as U+FFFD, the replacement character, and its neighbours are kept.
#pragma once

#include <QList>
#include <QPair>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>

struct sqlite3;

namespace zol {

// The SQLite handle under an open connection of Qt's SQLite driver, for what
// the driver does not offer (the online backup, functions of our own, the
// transaction state); nullptr when the connection is not open or not SQLite.
sqlite3* sqliteHandle(const QSqlDatabase& db);

// The table of stored tests and its 21 fields, in the order a save fills them.
// The raw P field really is spelled 粗份P.
QString testRecordTable();
const QStringList& testRecordFields();

// "SELECT <expression> AS [<alias>] FROM 用户信息<where>;": one figure over
// the stored tests, in the field alias. where is empty or begins with a space.
QString testRecordFigure(const QString& expression, const QString& alias,
                         const QString& where = QString());

// The statements that give a file the table 用户信息 and its index, as the
// program makes them: first the table, then the index.
const QStringList& recordTableStatements();

// The count of all stored tests, in the field recordCountField() ("mz1").
QString recordCountStatement();
QString recordCountField();

// The name under which a recordset carries a row's hidden key ("ID"), and
// the key column of a table made by this program. It is not one of the 21
// fields and no list of fields contains it.
QString recordKeyField();

// How SQL names the hidden key of any row: "rowid".
QString recordKeyExpression();

// A table or column name as SQL writes it: in double quotes, each quote
// inside doubled.
QString quoteIdentifier(QString name);

// "SELECT rowid AS ID, * FROM <table> <rest>": every column and the key.
// rest may hold a WHERE and an ORDER BY clause with '?' placeholders.
QString keyedSelect(const QString& table, const QString& rest = QString());

// How long a write waits for another copy of the program to release the
// file before it says that the file is in use.
int busyWaitMilliseconds();

// programFile("zol.mdb").
QString databasePath();

// Statements run on every connection right after it is opened, before
// anything else is read (after the busy wait is set, so they may change it).
// For tests and diagnosis (e.g. "PRAGMA max_page_count=1" to see what a full
// disk does). An empty list switches them off.
void setExtraConnectionPragmas(const QStringList& pragmas);
const QStringList& extraConnectionPragmas();

// What the program was doing with a file when the engine failed: the
// message says what could not be done, in that work's words.
enum class DatabaseWork {
    Save,      // a test stored, changed or deleted in zol.mdb
    Backup,    // a copy written to the file the user chose
    Restore,   // zol.mdb given the tests of a backup
};

// The message shown for an error of the engine on the file at path. For a
// save it says also that this save was not stored; a backup or a restore
// says its own outcome after it.
QString describeDatabaseError(const QSqlError& error, const QString& path,
                              DatabaseWork work = DatabaseWork::Save);

// Field texts as a window supplies them: (field name, text) in order.
using FieldTexts = QList<QPair<QString, QString>>;

// How a save stores a text in a field: as it is, as a whole number (a field
// whose declared type names INT), or as a date yyyy-MM-dd (测试日期,
// whatever its declared type).
enum class FieldKind { Text, Integer, Date };
FieldKind fieldKind(const QString& field, const QString& declaredType);

// Why a save refuses a text for a number or a date.
enum class ValueFault { NotANumber, OutOfRange, NotADate };

// The value a save stores for a text in a field of that kind: a null for a
// number or date left empty (spaces around a text do not count); nullopt,
// with *fault, when a save refuses the text. The length of a text is the
// engine's to judge.
std::optional<QVariant> storedValue(FieldKind kind, const QString& text, ValueFault* fault);

// One move among count rows, as a recordset and a data control make it. A
// place may lie on a deleted row (onDeletedRow): the gap it left, from which
// a move goes to the row on either side. Moves stop one place before the
// first row and one past the last.
void stepForward(int& index, bool& onDeletedRow, int count);
void stepBack(int& index, bool& onDeletedRow);

// The rows of one query, read completely when it ran. The current row starts
// on the first row. Positions follow the classic recordset: on an empty
// recordset both isBOF() and isEOF() are true; MoveNext past the last row
// gives isEOF(), MovePrevious before the first gives isBOF(); a move beyond
// those positions does nothing.
//
// (isBOF/isEOF rather than BOF/EOF: EOF is a macro of the C library.)
class Recordset {
public:
    Recordset() = default;

    // False when the query failed (the failure was reported).
    bool isValid() const { return valid_; }

    // Column names as the query gives them, without the hidden key.
    QStringList fieldNames() const;
    // Case-insensitive, like every field lookup here.
    bool hasField(const QString& name) const;

    // The current row's value of the named field or alias; the name is
    // matched without regard to case ("标准分p" finds 标准分P). An invalid
    // QVariant when there is no current row or no such field; a null one for
    // a stored NULL.
    QVariant Fields(const QString& name) const;

    // The current row's hidden key, or an invalid QVariant when there is no
    // current row or the query did not select the key.
    QVariant rowKey() const;

    int RecordCount() const { return int(rows_.size()); }
    bool isBOF() const;
    bool isEOF() const;
    bool hasCurrentRow() const;

    void MoveFirst();
    void MovePrevious();
    void MoveNext();
    void MoveLast();

private:
    friend class Database;
    friend class DataControl;

    int columnIndex(const QString& name) const;
    // Changes of the snapshot made by the data control after a write.
    void appendRow(const Recordset& source);
    void replaceCurrentRow(const Recordset& source);
    void removeCurrentRow();
    QVariantList rowFrom(const Recordset& source) const;

    QStringList columns_;
    QList<QVariantList> rows_;
    int index_ = 0;            // -1: before the first row; rows_.size(): after the last
    bool onDeletedRow_ = false; // the current row was deleted and no move has happened since
    bool valid_ = false;
};

// One open connection to a database file. Released (and its connection
// removed) when the object is destroyed.
class Database {
public:
    // Opens the database file at path for reading and writing. When the file
    // does not exist but its folder does, the file is created with the table
    // 用户信息: built under a temporary name in the same folder and moved to
    // path only while no file of that name exists, so that a copy of the
    // program that starts at the same moment never loses what the other has
    // written; when the other copy was first, its file is opened. An existing
    // file is never re-created, overwritten or removed. A file, or a folder,
    // without any write permission bit is opened read-only, so that writes
    // fail even for the superuser. Reports the failure and returns nullptr
    // when the folder is missing, the file cannot be created or opened, is
    // not a database, or has no table 用户信息.
    [[nodiscard]] static std::unique_ptr<Database>
    OpenDatabase(const QString& path = databasePath());

    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    QString path() const { return path_; }
    bool isReadOnly() const { return readOnly_; }
    // Whether path no longer names the file this connection has open: it was
    // deleted, or another file was moved over it. The engine refuses to
    // write to such a file; a connection kept open for long is opened again.
    bool fileReplaced() const;

    // Runs a query and keeps all its rows. Parameters fill the positional
    // '?' placeholders in order.
    [[nodiscard]] Recordset OpenRecordset(const QString& sql, const QVariantList& params = {});

    // Runs a statement that returns no rows.
    [[nodiscard]] bool Execute(const QString& sql, const QVariantList& params = {},
                               int* rowsAffected = nullptr);

    // An explicit transaction, always a writing one: BeginTrans takes the
    // write lock at once (waiting busyWaitMilliseconds() for another copy).
    // Rollback follows a failure that has been reported already, so it
    // reports only its own; when the engine keeps the transaction open, the
    // connection is closed (which undoes the transaction) and opened again,
    // and Rollback returns false.
    [[nodiscard]] bool BeginTrans();
    [[nodiscard]] bool CommitTrans();
    bool Rollback();

    // Writes texts into a table, each converted to its column's type first:
    // integer columns take a blank text as NULL and a number rounded to a
    // whole number (halves to even); the test date takes a blank text as NULL
    // and a date, which is stored as yyyy-MM-dd; text columns take the text as
    // it is. A text that does not convert, or is too long for the engine, is
    // refused with a message naming the field, and nothing is written.
    // Outside BeginTrans each call is a transaction of its own.
    [[nodiscard]] bool InsertRow(const QString& table, const FieldTexts& values,
                                 QVariant* newKey = nullptr);
    // Writes the given fields only. Reports a failure when no row has that
    // key any more.
    [[nodiscard]] bool UpdateRow(const QString& table, const QVariant& key,
                                 const FieldTexts& values);
    // A row that is already gone counts as deleted.
    [[nodiscard]] bool DeleteRow(const QString& table, const QVariant& key);

    // The connection itself, for a model or a registered function. Whatever
    // is built on it must be gone before this object is destroyed.
    QSqlDatabase connection() const { return db_; }

private:
    Database(const QString& path, bool readOnly);
    // Opens the connection, then checks for the table and, when createTable
    // allows, creates it.
    [[nodiscard]] bool setUp(bool createTable, QString* message);
    // Opens the connection and runs the statements every connection begins with.
    [[nodiscard]] bool openConnection(QString* message);
    [[nodiscard]] bool hasRecordTable(bool* found, QString* message);
    [[nodiscard]] bool createRecordTable(QString* message);
    // ROLLBACK; false when the transaction could be ended only by reconnecting.
    bool endTransaction();
    [[nodiscard]] static bool createFile(const QString& path, QString* message);
    bool inTransaction() const;
    // Runs write inside the caller's transaction, or in one of its own.
    [[nodiscard]] bool writing(const std::function<bool()>& write);
    // Put the message for error in message, or show it; both return false.
    bool failed(const QSqlError& error, QString* message) const;
    bool report(const QSqlError& error) const;
    // Prepares the statement, binds the parameters and runs it; reports a failure.
    [[nodiscard]] bool run(QSqlQuery& q, const QString& sql, const QVariantList& params) const;
    struct Column {
        QString name;
        QString type;
    };
    [[nodiscard]] bool tableColumns(const QString& table, QList<Column>* columns);
    [[nodiscard]] bool convertValues(const QString& table, const FieldTexts& values,
                                     QStringList* columns, QVariantList* params);

    QString path_;
    QString connectionName_;
    bool readOnly_ = false;
    QSqlDatabase db_;
};

} // namespace zol
