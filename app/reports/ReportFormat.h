#pragma once

#include <QLocale>
#include <QString>

// The field formats of the reports, applied to the text a field holds in the
// database (ISO dates, plain decimal amounts). The separators come from the
// locale: grouping and decimal marks for numbers, the date separator of its
// short date form for dates.
namespace ReportFormat {

// A literal dollar sign, thousands grouping and two decimals.
inline const QString Money = QStringLiteral("\"$\"#,##0.00");
// Month and day without leading zeros, four-digit year.
inline const QString ShortDate = QStringLiteral("M/d/yyyy");
// A whole number without grouping.
inline const QString Whole = QStringLiteral("0");

// The stored text in the given format. An empty text prints nothing; a text
// the format cannot read (a money field holding letters, say) prints as stored;
// an empty format prints the text as stored.
QString apply(const QString& format, const QString& stored, const QLocale& locale = QLocale());

// "$1,234.50", "-$3.00", "$0.00".
QString formatMoney(double value, const QLocale& locale = QLocale());
// "3/5/2007" (United States), "3.5.2007" where the date separator is a dot.
QString formatShortDate(const QDate& date, const QLocale& locale = QLocale());
// "%D": the locale's long date.
QString formatLongDate(const QDate& date, const QLocale& locale = QLocale());

// The separator the locale's short date form puts between its parts.
QString dateSeparator(const QLocale& locale);

} // namespace ReportFormat
