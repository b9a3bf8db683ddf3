// The conversions the windows rely on when texts become numbers and dates.
#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <optional>

namespace zol {

// The numeric value of a text: the number at its start. Leading blanks are
// skipped, reading stops at the first character that cannot continue the
// number; a text without a leading number gives 0.
// "25" -> 25, "19.5" -> 19.5, "  30" -> 30, "30岁" -> 30, "abc" -> 0, "" -> 0.
double Val(const QString& text);

// True for a plain decimal number with an optional sign, an optional
// fraction and surrounding blanks ("12", " -3.5 ", "+.5"); false for the
// empty text, a text of blanks, and anything with other characters ("12a").
bool IsNumeric(const QString& text);

// A real value made a 16-bit integer: rounded to the nearest whole number,
// halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2). Returns no
// value when the result does not fit in -32768..32767.
std::optional<qint16> toInt16(double value);

// The same rounding into a 32-bit integer.
std::optional<qint32> toInt32(double value);

// The number as its plain decimal text ("0", "75", "-3").
QString numberText(qint64 n);

// A date as the program stores it (测试日期) and the query window reads it:
// yyyy-MM-dd, whatever the system's date form, so that stored dates compare
// and sort as texts.
QString ShortDate(const QDate& date);
QString TodayShortDate();

// A date in the system's short date form (the reports' date), or in the
// short form of the given locale.
QString SystemShortDate(const QDate& date, const QLocale& locale = QLocale::system());
QString TodaySystemShortDate();

// Reads a date text in the forms the program writes or a user types:
// 2026-12-08, 2026-12-8, 2026/12/8, 2026.12.8. Invalid date when it is none.
QDate parseDateText(const QString& text);

} // namespace zol
