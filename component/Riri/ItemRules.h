#pragma once

#include "RiriExport.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace Riri {

// The rules an item record must keep, shared by the item windows and the
// component's bulk operations: the fixed room list, the amount check and the
// limits of the add window's fields.
namespace ItemRules {

// The 35 rooms in their display order, "Attic" to "Other".
RIRI_EXPORT const QStringList& rooms();

// The room of the list that the text names, ignoring case; empty when none.
RIRI_EXPORT QString roomNamed(QStringView text);

// True for "-?digits(.digits?)?": the plain decimal form with a point that
// the database and the CSV files use for amounts.
RIRI_EXPORT bool isPlainAmount(QStringView text);

// The add window's character limits.
inline constexpr int kItemNameLimit = 35;
inline constexpr int kSerialNumberLimit = 35;
inline constexpr int kModelLimit = 30;
inline constexpr int kAmountLimit = 10;
inline constexpr int kAccquiredFromLimit = 34;
inline constexpr int kRichTextLimit = 250;

// The earliest date the date picker offers.
inline const QDate kFirstDate{1900, 1, 1};

} // namespace ItemRules
} // namespace Riri
