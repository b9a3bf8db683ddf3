#include "testsupport.h"

#include "platform/convert.h"

#include <QTest>

using namespace zol;

class ConvertTest : public QObject {
    Q_OBJECT
private slots:
    void valReadsTheLeadingNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("plain") << "25" << 25.0;
        QTest::newRow("fraction") << "19.5" << 19.5;
        QTest::newRow("leading blanks") << "  30" << 30.0;
        QTest::newRow("trailing word") << QStringLiteral("30岁") << 30.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("letters") << "abc" << 0.0;
        QTest::newRow("negative") << "-1" << -1.0;
        QTest::newRow("digits then letters") << "12a" << 12.0;
        QTest::newRow("lone point") << "." << 0.0;
        QTest::newRow("point then digits") << ".5" << 0.5;
        QTest::newRow("exponent") << "1e3" << 1000.0;
        QTest::newRow("e without digits") << "2e" << 2.0;
        QTest::newRow("sign alone") << "-" << 0.0;
        QTest::newRow("full-width digits are not digits") << QStringLiteral("３０") << 0.0;
        QTest::newRow("blank inside") << "1 2" << 1.0;
    }
    void valReadsTheLeadingNumber()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(Val(text), value);
    }

    void isNumeric_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("numeric");
        QTest::newRow("integer") << "16" << true;
        QTest::newRow("fraction") << "99.9" << true;
        QTest::newRow("blanks around") << " 30 " << true;
        QTest::newRow("negative") << "-1" << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("blanks only") << "   " << false;
        QTest::newRow("digits and letter") << "12a" << false;
        QTest::newRow("letters") << "abc" << false;
        QTest::newRow("two points") << "1.2.3" << false;
    }
    void isNumeric()
    {
        QFETCH(QString, text);
        QFETCH(bool, numeric);
        QCOMPARE(IsNumeric(text), numeric);
    }

    void roundsHalvesToEven()
    {
        QCOMPARE(*toInt16(2.5), qint16(2));
        QCOMPARE(*toInt16(3.5), qint16(4));
        QCOMPARE(*toInt16(-2.5), qint16(-2));
        QCOMPARE(*toInt16(0.5), qint16(0));
        QCOMPARE(*toInt16(1.5), qint16(2));
        QCOMPARE(*toInt16(2.4999), qint16(2));
        QCOMPARE(*toInt16(2.5001), qint16(3));
        QCOMPARE(*toInt16(32767.0), qint16(32767));
        QCOMPARE(*toInt16(-32768.0), qint16(-32768));
        QVERIFY(!toInt16(32767.5).has_value());   // rounds to 32768
        QVERIFY(!toInt16(-32768.6).has_value());
        QVERIFY(!toInt16(1e300).has_value());
        QCOMPARE(*toInt32(32767.5), qint32(32768));
    }

    void shortDateRoundTrips()
    {
        const QDate d(2026, 3, 7);
        // Reports follow the system's short form; the stored date keeps its own.
        QCOMPARE(SystemShortDate(d, QLocale(QStringLiteral("zh_CN"))), QStringLiteral("2026/3/7"));
        QCOMPARE(SystemShortDate(d, QLocale(QStringLiteral("de_DE"))), QStringLiteral("07.03.26"));
        QCOMPARE(ShortDate(d), QStringLiteral("2026-03-07"));
        QCOMPARE(parseDateText(ShortDate(d)), d);
        QCOMPARE(parseDateText("2026/3/7"), d);
        QCOMPARE(parseDateText("2026.3.7"), d);
        QVERIFY(!parseDateText("2026-13-01").isValid());
        QVERIFY(!parseDateText("yesterday").isValid());
        QVERIFY(!parseDateText("").isValid());
    }
};

ZOL_TEST(ConvertTest)
#include "tst_convert.moc"
