#pragma once

#include "OffsiteSettings.h"
#include "RiriExport.h"

#include <QDateTime>
#include <QString>

namespace Riri {

// When an off-site copy is due and when the user should hear that the
// copies fall behind. Pure decisions on the settings, the time of the
// inventory's last change and the time now.
class RIRI_EXPORT OffsiteSchedule {
public:
    // How often the schedule writes a copy at most, and after how long
    // without one the main window says so (twice that).
    static constexpr qint64 kIntervalSecs = 24 * 3600;

    // Whether the end of the program writes a copy: the schedule asks for
    // copies at the end, the inventory changed after the newest copy, and no
    // copy was written yet on this day. A copy that was due while the
    // folder was absent stays due, so it is written once the folder is back.
    static bool dueAtEnd(const OffsiteSettings& settings, const QDateTime& changed,
                         const QDateTime& now);

    // What the main window tells at start-up; empty when all is well: the
    // last attempt failed, or the inventory changed after the newest copy
    // and that copy (or the choice of the folder, before the first one) is
    // older than twice the interval.
    static QString notice(const OffsiteSettings& settings, const QDateTime& changed,
                          const QDateTime& now, bool folderPresent);

    // The time of the inventory's last change: its database file's.
    static QDateTime inventoryChanged();
};

} // namespace Riri
