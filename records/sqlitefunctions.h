// A sample standard deviation for the statistics, which SQLite does not
// have as an aggregate.
#pragma once

#include <QSqlDatabase>

struct sqlite3;

namespace zol {

// Registers the aggregate stdev(x) on the connection: the sample standard
// deviation (divisor n - 1) of the values that are not NULL; NULL when
// fewer than two values are there. False when it could not be registered.
bool registerStdev(const QSqlDatabase& db);

} // namespace zol
