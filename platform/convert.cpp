#include "platform/convert.h"

#include <QRegularExpression>
#include <cmath>

namespace zol {

double Val(const QString& text)
{
    int i = 0;
    const int n = text.size();
    while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;

    QString number;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        number += text[i++];

    int digits = 0;
    while (i < n && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9')) {
        number += text[i++];
        ++digits;
    }
    if (i < n && text[i] == QLatin1Char('.')) {
        number += text[i++];
        while (i < n && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9')) {
            number += text[i++];
            ++digits;
        }
    }
    if (digits == 0)
        return 0.0;

    // An exponent counts only when digits follow it.
    if (i < n && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        int j = i + 1;
        QString exp = QStringLiteral("e");
        if (j < n && (text[j] == QLatin1Char('+') || text[j] == QLatin1Char('-')))
            exp += text[j++];
        int expDigits = 0;
        while (j < n && text[j] >= QLatin1Char('0') && text[j] <= QLatin1Char('9')) {
            exp += text[j++];
            ++expDigits;
        }
        if (expDigits > 0)
            number += exp;
    }

    bool ok = false;
    const double v = number.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return 0.0;
    return v;
}

bool IsNumeric(const QString& text)
{
    static const QRegularExpression re(
        QStringLiteral("^\\s*[+-]?(\\d+(\\.\\d*)?|\\.\\d+)\\s*$"));
    return re.match(text).hasMatch();
}

static std::optional<double> roundHalfEven(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    // nearbyint honours the default rounding mode, which is to nearest-even.
    return std::nearbyint(value);
}

std::optional<qint16> toInt16(double value)
{
    const auto r = roundHalfEven(value);
    if (!r || *r < -32768.0 || *r > 32767.0)
        return std::nullopt;
    return static_cast<qint16>(*r);
}

std::optional<qint32> toInt32(double value)
{
    const auto r = roundHalfEven(value);
    if (!r || *r < -2147483648.0 || *r > 2147483647.0)
        return std::nullopt;
    return static_cast<qint32>(*r);
}

QString numberText(qint64 n) { return QString::number(n); }

QString ShortDate(const QDate& date) { return date.toString(QStringLiteral("yyyy-MM-dd")); }

QString TodayShortDate() { return ShortDate(QDate::currentDate()); }

QString SystemShortDate(const QDate& date, const QLocale& locale)
{
    return locale.toString(date, QLocale::ShortFormat);
}

QString TodaySystemShortDate() { return SystemShortDate(QDate::currentDate()); }

QDate parseDateText(const QString& text)
{
    static const QRegularExpression re(
        QStringLiteral("^\\s*(\\d{4})[-/.](\\d{1,2})[-/.](\\d{1,2})\\s*$"));
    const auto m = re.match(text);
    if (!m.hasMatch())
        return QDate();
    return QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
}

} // namespace zol
