#include "records/sqlitefunctions.h"

#include "platform/database.h"

#include <QSqlDriver>
#include <QVariant>
#include <cmath>
#include <sqlite3.h>

namespace zol {

namespace {

// Welford's running mean and sum of squared deviations: one pass, and no
// loss of precision from subtracting two large sums.
struct Deviation {
    sqlite3_int64 n;
    double mean;
    double m2;
};

void stdevStep(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return;
    auto* d = static_cast<Deviation*>(sqlite3_aggregate_context(ctx, sizeof(Deviation)));
    if (!d) {
        sqlite3_result_error_nomem(ctx);
        return;
    }
    const double x = sqlite3_value_double(argv[0]);
    ++d->n;
    const double delta = x - d->mean;
    d->mean += delta / double(d->n);
    d->m2 += delta * (x - d->mean);
}

void stdevFinal(sqlite3_context* ctx)
{
    // A group without rows never allocated its state: ask for none.
    auto* d = static_cast<Deviation*>(sqlite3_aggregate_context(ctx, 0));
    if (!d || d->n < 2) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_result_double(ctx, std::sqrt(d->m2 / double(d->n - 1)));
}

} // namespace

bool registerStdev(const QSqlDatabase& db)
{
    sqlite3* h = sqliteHandle(db);
    return h && sqlite3_create_function_v2(h, "stdev", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                           nullptr, nullptr, stdevStep, stdevFinal, nullptr)
                    == SQLITE_OK;
}

} // namespace zol
