#pragma once

#include "RiriExport.h"

#include <QDate>
#include <QString>

namespace Riri {

// Removes old history. The history is kept forever unless the user asks:
// the count comes first, then an automatic copy of the whole inventory, then
// the removal in one transaction. Failures throw Riri::Error.
class RIRI_EXPORT HistoryCleanUp {
public:
    // The history rows recorded before the day `before` begins.
    static qint64 countBefore(const QDate& before);
    // Makes the automatic copy and removes those rows; returns the copy's
    // path and sets *removed.
    static QString removeBefore(const QDate& before, qint64* removed);
};

} // namespace Riri
