// Helpers of the database tests: a result-window-like form that saves rows,
// a browser-like form that shows them, and direct looks at the file.
#pragma once

#include "platform/database.h"
#include "platform/datacontrol.h"
#include "platform/dialogs.h"

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
    return {name, QStringLiteral("男"), QStringLiteral("30"), QStringLiteral("大学"),
            QStringLiteral("汉族"), QStringLiteral("教师"), QString::number(number), QStringLiteral("门诊"),
            QStringLiteral("12"), QStringLiteral("15"), QStringLiteral("9"), QStringLiteral("6"),
            QStringLiteral("55"), QStringLiteral("60"), QStringLiteral("45"), QStringLiteral("40"),
            QStringLiteral("1：倾向于温和"), QStringLiteral("2：中间型"), QStringLiteral("3：情绪稳定"),
            QStringLiteral("4：掩饰倾向低"), QStringLiteral("2026-03-07")};
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
