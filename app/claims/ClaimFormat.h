#pragma once

#include <QString>

// How claims show amounts and dates in their windows and documents.
namespace ClaimFormat {

// Whole cents with the currency sign and thousands grouping: 123450 gives
// "$1,234.50", -300 gives "-$3.00".
QString money(qint64 cents);
// An ISO 8601 date (a time after it is ignored) in the locale's short form
// with a four-digit year; the text as it is when it is no date.
QString date(const QString& iso);
// Parses an amount typed by the user ("1,234.5", "$20") into whole cents;
// false when it is no amount.
bool parseMoney(const QString& text, qint64* cents);

} // namespace ClaimFormat
