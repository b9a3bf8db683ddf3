// What one window of this copy tells the others about the database file.
//
// A restore replaces every row, and with it every row key that open windows
// remember; the windows that show stored rows listen here and read their
// rows again.
#pragma once

#include <QObject>
#include <QString>

namespace zol {

class DatabaseNotices : public QObject {
    Q_OBJECT
public:
    static DatabaseNotices& instance();

signals:
    // The content of the database file at path was replaced (absolute path).
    void replaced(const QString& path);
};

// Tells every listener that the database at path was replaced.
void announceDatabaseReplaced(const QString& path);

} // namespace zol
