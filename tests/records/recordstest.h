// Helpers of the records tests: stored tests made up from short texts.
#pragma once

#include "testsupport.h"

#include "platform/database.h"

#include <QStringList>
#include <QTest>

namespace recordstest {

// Stores one test per text "name sex P E N L" (scores are standard scores;
// "-" leaves a field empty, i.e. NULL for a score), or per text of the
// fields given, separated by blanks.
inline void storeTests(const QStringList& tests,
                       const QStringList& fields = {QStringLiteral("姓名"), QStringLiteral("性别"),
                                                    QStringLiteral("标准分P"), QStringLiteral("标准分E"),
                                                    QStringLiteral("标准分N"), QStringLiteral("标准分L")})
{
    auto db = zol::Database::OpenDatabase();
    QVERIFY(db);
    for (const QString& test : tests) {
        const QStringList values = test.split(QLatin1Char(' '));
        zol::FieldTexts row;
        for (int i = 0; i < values.size(); ++i)
            row << qMakePair(fields[i], values[i] == QLatin1String("-") ? QString() : values[i]);
        QVERIFY(db->InsertRow(zol::testRecordTable(), row));
    }
}

// "Label3=8 Label6=3": cell name -> text; a cell written "Label18=" is empty.
inline QMap<QString, QString> cellMap(const QString& text)
{
    QMap<QString, QString> m;
    for (const QString& pair : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const int eq = pair.indexOf(QLatin1Char('='));
        m.insert(pair.left(eq), pair.mid(eq + 1));
    }
    return m;
}

} // namespace recordstest
