#pragma once

#include <QLocale>
#include <QString>
#include <QStringView>

// Amounts as the item windows and their lists show and read them: the money
// pattern "###,###,#0.#0" (thousands grouped with the locale's separator, at
// least one digit before the decimal separator, exactly two after it, no
// currency sign), and the locale's numeric test.
namespace Money {

// 1234.5 gives "1,234.50", 0 gives "0.00". The value is first taken to
// fifteen significant digits, then rounded half away from zero to cents, so
// 12.345 gives 12.35 although its binary value lies just below.
QString Format(double value, const QLocale& locale = QLocale());

// A stored amount (the database's own text of a number, "1234.5" or
// "1.0e+20") in the money pattern. An empty text stays empty; a text that is
// no number is shown as it is.
QString FormatStored(QStringView stored, const QLocale& locale = QLocale());

// A shown amount ("1,234.50") formatted with the pattern again. An empty text
// stays empty; a text the locale does not read as a number stays as it is.
QString Reformat(const QString& shown, const QLocale& locale = QLocale());

// The locale's numeric test: digits with an optional sign, decimal separator,
// thousands separators and exponent.
bool IsNumber(const QString& text, const QLocale& locale = QLocale());

// Reads the text as a single-precision amount. False when the locale does not
// read it as a number, or when the number is not finite or too large for
// single precision ("1e39", "inf", "nan").
bool ToSingle(const QString& text, float* value, const QLocale& locale = QLocale());

// The amount taken through the money pattern and read back: rounded to two
// decimals (12.346 becomes 12.35).
float RoundToCents(float value, const QLocale& locale = QLocale());

} // namespace Money
