#pragma once

#include "RiriExport.h"

#include <QDateTime>
#include <QLocale>
#include <QString>

namespace Riri {

// How values are written into statements and read back, whatever the user's
// locale: dates as ISO 8601 text, amounts as plain decimal text.

// "2005-03-01", or "2005-03-01 14:30:00" when the value carries a time of day.
RIRI_EXPORT QString sqlDate(const QDateTime& value);
// The current local date and time, "2026-12-06 07:05:12".
RIRI_EXPORT QString sqlNow();
// The text without leading and trailing blanks: only the blank (code 32)
// counts; tabs, line breaks and no-break spaces stay.
RIRI_EXPORT QString trimBlanks(const QString& text);

// An amount: plain decimal text with up to fifteen significant digits (as
// many as a stored REAL gives back unchanged), no exponent, no thousands
// separators, "." as decimal point ("25", "12.5", "1234567.89",
// "9999999999999.99").
RIRI_EXPORT QString sqlNumber(double value);
// Reads a stored date or date and time back; invalid when the text is neither.
RIRI_EXPORT QDateTime parseSqlDateTime(const QString& text);

// The locale's short date pattern with a four-digit year ("M/d/yyyy" in the
// United States): a two-digit year read back would lose the century.
RIRI_EXPORT QString shortDateFormat(const QLocale& locale = QLocale::system());
// The locale's time pattern with seconds and without a time zone.
RIRI_EXPORT QString timeFormat(const QLocale& locale = QLocale::system());

} // namespace Riri
