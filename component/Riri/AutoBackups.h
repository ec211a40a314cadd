#pragma once

#include "RiriExport.h"

#include <QDateTime>
#include <QString>

namespace Riri {

// The automatic copies of the inventory in home/backups/ below the
// component's folder: a daily one at start-up, and one before every restore
// and import. A copy that cannot be made is logged in error.log and stops
// nothing. The newest seven daily copies are kept, and of the copies made
// before restores and imports the newest ten of each kind, for 30 days at
// most. The file of a damaged inventory kept before it was replaced
// (".unchecked") is kept by the same rule as the copies of its kind.
class RIRI_EXPORT AutoBackups {
public:
    enum class Kind { Daily, BeforeRestore, BeforeImport, BeforeHistoryCleanUp };

    // One automatic copy in the folder.
    struct Copy {
        QString path;
        QDateTime made;
        Kind kind = Kind::Daily;
    };

    static QString folder();

    // Makes a copy of the given kind now and prunes the old ones. Returns the
    // copy's path, or an empty text when it could not be made (logged).
    static QString make(Kind kind);

    // The daily copy of start-up: made when the newest copy is more than a
    // day old (or there is none) and the inventory changed since. Returns
    // the new copy's path, or an empty text when none was due or made.
    static QString makeDailyIfDue(const QDateTime& now = QDateTime::currentDateTime());

    // The newest automatic copy of any kind and the time it was made; an
    // empty path when there is none.
    static QString newest(QDateTime* made = nullptr);

    // Removes the copies no longer kept.
    static void prune(const QDateTime& now = QDateTime::currentDateTime());

    // The time a copy was made, from its name; invalid for another file.
    static QDateTime madeAt(const QString& fileName, Kind* kind = nullptr);

    // The automatic copies that can be restored, newest first.
    static QList<Copy> list();

    // Removes what an operation killed half-way left behind: the temporary
    // files of copies, backups, restores and exports (".NAME.part-XXXXXX"
    // and their journals) in home/, home/backups and the given folders. In
    // folders other than the component's own, only the temporary files of
    // inventory and CSV files go. Only while no other instance of the
    // program runs. Returns how many files were removed.
    static int sweepLeftovers(const QStringList& otherFolders = {});
};

} // namespace Riri
