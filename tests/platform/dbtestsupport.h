// Helpers of the database tests: a result-window-like form that saves rows,
// a browser-like form that shows them, and direct looks at the file.
#pragma once

#include "testsupport.h"

#include "platform/database.h"
#include "platform/datacontrol.h"
#include "tests/support/scripteddialogs.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <memory>
#include <vector>

namespace dbtest {

// The 21 texts a result window saves for one test.
inline QStringList sampleRecord(const QString& name, int number = 1)
{
    return QStringList{name} + zoltest::items(u"男|30|大学|汉族|教师")
           + QStringList{QString::number(number)}
           + zoltest::items(u"门诊|12|15|9|6|55|60|45|40|"
                            u"1：倾向于温和|2：中间型|3：情绪稳定|4：掩饰倾向低|2026-03-07");
}

// Hidden text boxes bound to every field, saved with AddNew and Update.
struct SaveForm {
    zol::DataControl data;
    std::vector<std::unique_ptr<QLineEdit>> boxes;

    explicit SaveForm(const QString& path = zol::databasePath())
    {
        data.setDatabaseName(path);
        data.setRecordSource(zol::testRecordTable());
        for (const QString& f : zol::testRecordFields()) {
            boxes.emplace_back(new QLineEdit);
            data.bind(boxes.back().get(), f);
        }
    }
    QLineEdit* box(const QString& field)
    {
        return boxes[zol::testRecordFields().indexOf(field)].get();
    }
    bool save(const QStringList& texts)
    {
        if (!data.AddNew())
            return false;
        for (int i = 0; i < texts.size(); ++i)
            boxes[i]->setText(texts[i]);
        return data.Update();
    }
};

// Labels bound to every field.
struct ShowForm {
    zol::DataControl data;
    std::vector<std::unique_ptr<QLabel>> labels;

    explicit ShowForm(const QString& source = zol::testRecordTable(), const QVariantList& params = {})
    {
        data.setDatabaseName(zol::databasePath());
        data.setRecordSource(source, params);
        for (const QString& f : zol::testRecordFields()) {
            labels.emplace_back(new QLabel);
            data.bind(labels.back().get(), f);
        }
    }
    QStringList shown() const
    {
        QStringList texts;
        for (const auto& l : labels)
            texts << l->text();
        return texts;
    }
    QString shown(const QString& field) const
    {
        return labels[zol::testRecordFields().indexOf(field)]->text();
    }
};

// A browser over the table shows exactly these rows, in this order.
inline void verifyBrowsed(const QList<QStringList>& rows)
{
    ShowForm browser;
    QVERIFY(browser.data.Refresh());
    for (const QStringList& row : rows) {
        QCOMPARE(browser.shown(), row);
        QVERIFY(browser.data.MoveNext());
    }
    QVERIFY(browser.data.isEOF());
}

// The number of stored rows by the count query the windows use; -1 when
// the file cannot be read.
inline int rowCount(const QString& path = zol::databasePath())
{
    const auto db = zol::Database::OpenDatabase(path);
    if (!db)
        return -1;
    const auto rs = db->OpenRecordset(QStringLiteral("SELECT count(*) AS [mz1] FROM 用户信息;"));
    return rs.isValid() ? rs.Fields(QStringLiteral("mz1")).toInt() : -1;
}

// Every stored row, its fields in the order of testRecordFields().
inline QList<QStringList> storedRows(const QString& path = zol::databasePath())
{
    QList<QStringList> rows;
    const auto db = zol::Database::OpenDatabase(path);
    if (!db)
        return rows;
    for (zol::Recordset rs = db->OpenRecordset(QStringLiteral("SELECT * FROM 用户信息")); !rs.isEOF();
         rs.MoveNext()) {
        QStringList row;
        for (const QString& f : zol::testRecordFields())
            row << rs.Fields(f).toString();
        rows << row;
    }
    return rows;
}

inline QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A plain connection of its own, past the program's database layer.
struct RawConnection {
    QString name;
    QSqlDatabase db;
    explicit RawConnection(const QString& path)
        : name(QStringLiteral("raw.%1").arg(quintptr(this)))
    {
        db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.open();
    }
    ~RawConnection()
    {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
    }
    QVariant value(const QString& sql)
    {
        QSqlQuery q(db);
        return q.exec(sql) && q.next() ? q.value(0) : QVariant();
    }
    bool exec(const QString& sql) { return QSqlQuery(db).exec(sql); }
};

// Extra connection settings for one test; gone again however the test ends.
struct PragmaScope {
    explicit PragmaScope(const QStringList& pragmas) { zol::setExtraConnectionPragmas(pragmas); }
    ~PragmaScope() { zol::setExtraConnectionPragmas({}); }
};

// Exactly one error box was shown, titled 出错信息, naming zol.mdb and
// containing the given words.
inline void verifyOneError(const zol::ScriptedDialogs& dialogs, const QStringList& words = {})
{
    QCOMPARE(dialogs.count(), 1);
    QCOMPARE(dialogs.last().title, QStringLiteral("出错信息"));
    QVERIFY2(dialogs.last().prompt.contains(QStringLiteral("zol.mdb")), qPrintable(dialogs.last().prompt));
    for (const QString& w : words)
        QVERIFY2(dialogs.last().prompt.contains(w), qPrintable(dialogs.last().prompt));
}

} // namespace dbtest
