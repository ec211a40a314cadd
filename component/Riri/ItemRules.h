#pragma once

#include "RiriExport.h"

#include <QDate>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <array>
#include <cstdint>

namespace Riri {

// The rules an item record must keep, shared by the item windows and the
// component's bulk operations: the fixed room list, the field limits of the
// two item windows, the dates the date picker offers, and the amounts with
// their rounding to whole cents and their range.
namespace ItemRules {

// The 35 rooms in their display order, "Attic" to "Other".
RIRI_EXPORT const QStringList& rooms();

// The room of the list that the text names, ignoring case; empty when none.
RIRI_EXPORT QString roomNamed(QStringView text);

// True for "-?digits(.digits?)?": the plain decimal form with a point that
// the database and the CSV files use for amounts.
RIRI_EXPORT bool isPlainAmount(QStringView text);

// The add window's character limits. The CSV import checks its rows
// against these.
inline constexpr int kItemNameLimit = 35;
inline constexpr int kSerialNumberLimit = 35;
inline constexpr int kModelLimit = 30;
inline constexpr int kAmountLimit = 10;
inline constexpr int kAccquiredFromLimit = 34;
// Description and Notes, in both windows.
inline constexpr int kRichTextLimit = 250;

// The character limits of the six single-line boxes in their order: Item
// Name, Serial Number, Model, Original Cost, Current Value, Accquired From.
// The edit window's differ from the add window's.
using TextLimits = std::array<int, 6>;
inline constexpr TextLimits kAddWindowLimits{kItemNameLimit, kSerialNumberLimit,
                                             kModelLimit,    kAmountLimit,
                                             kAmountLimit,   kAccquiredFromLimit};
inline constexpr TextLimits kEditWindowLimits{34, 35, 35, kAmountLimit, kAmountLimit, 35};

// The earliest and the latest date the date picker offers; an item's date
// before kFirstDate is refused.
inline const QDate kFirstDate{1900, 1, 1};
inline const QDate kLastDate{9999, 12, 31};

// The largest amount, either way, in cents, that the writers store with its
// exact cents (a double holds every cent up to 9,999,999,999,999.99).
inline constexpr std::int64_t kLargestCents = 999999999999999;

// Rounds a plain amount (see isPlainAmount) to whole cents by its own digits,
// half a cent away from zero: "12.345" gives 1235, "-1.005" gives -101,
// "-0.004" gives 0. False, leaving `cents` alone, when the text is no plain
// amount or has more than sixteen whole digits (leading zeros not counted).
// The range is checked apart, by isStorable.
RIRI_EXPORT bool roundToCents(QStringView plain, std::int64_t* cents);

// True when the cents lie within kLargestCents either way.
inline constexpr bool isStorable(std::int64_t cents) {
    return cents >= -kLargestCents && cents <= kLargestCents;
}

// Whole cents as the amount the writers take: 1235 gives 12.35; no amount
// is negative zero.
RIRI_EXPORT double amountOf(std::int64_t cents);

// A number rounded to whole cents by its own digits (the shortest decimal
// that reads back as the same value, rounded by roundToCents above). False
// when it is not finite or has more than sixteen whole digits.
RIRI_EXPORT bool roundNumberToCents(double value, std::int64_t* cents);

// An amount as the item windows read a typed one: the locale's number
// (sign, decimal separator, thousands separators, exponent, blanks around
// it), rounded to whole cents and within the storable range. False,
// leaving `value` alone, for anything else ("1e39", "inf", "nan").
RIRI_EXPORT bool typedAmount(const QString& text, const QLocale& locale, double* value);

// An amount as a spreadsheet writes it into a CSV file: the plain form with
// a point ("1234.5"), or any form typedAmount takes, either with a currency
// sign (the locale's or "$") before or after the number and blanks around
// the sign ("$1,234.50", "-$ 1,234.50", "1.234,50 €" where the
// locale reads it). The plain form is tried first, so a file the program
// wrote reads the same in every locale. An empty text is 0.
RIRI_EXPORT bool importedAmount(const QString& text, const QLocale& locale, double* value);

} // namespace ItemRules
} // namespace Riri
