#pragma once

#include <Riri/HistoryFields.h>

#include <QString>
#include <vector>

// How the history's entries read, in the windows and on the command line:
// field names as the item lists head them, amounts in the money pattern,
// dates in the locale's short form.
namespace HistoryText {

// The caption of a stored field ("Room Location" for RoomName).
QString fieldCaption(const QString& field);
// One value in the list formats.
QString value(const QString& field, const QVariant& value);
// The date and time of an entry ("yyyy-MM-dd HH:mm:ss" stored).
QString when(const QString& stored);
// A change's fields: "Cost: 12.00 -> 15.00; Notes: (empty) -> Boxed" for a
// change, "Item ID: A-1; Item Name: Lamp ..." for a whole row. The stamped
// dates and the attachment details are left out.
QString fields(const std::vector<Riri::HistoryFields::Field>& fields);

} // namespace HistoryText
