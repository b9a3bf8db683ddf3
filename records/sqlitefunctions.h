// What the windows of stored tests need from SQLite beyond plain SQL: the
// engine handle under a Qt connection, and a sample standard deviation,
// which SQLite does not have as an aggregate.
#pragma once

#include <QSqlDatabase>

struct sqlite3;

namespace zol {

// The SQLite handle of an open connection of the QSQLITE driver; nullptr
// when the connection is not open or not SQLite.
sqlite3* sqliteHandle(const QSqlDatabase& db);

// Registers the aggregate stdev(x) on the connection: the sample standard
// deviation (divisor n - 1) of the values that are not NULL; NULL when
// fewer than two values are there. False when it could not be registered.
bool registerStdev(const QSqlDatabase& db);

} // namespace zol
