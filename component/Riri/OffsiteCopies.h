#pragma once

#include "InventoryCheck.h"
#include "OffsiteKey.h"
#include "Progress.h"
#include "RiriExport.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace Riri {

// The encrypted copies of the inventory kept away from home: the backup
// archive (database and evidence) streamed straight into the encryption, so
// that no plain byte of the inventory is written outside the data folder,
// into a folder the user chose (a USB stick, a folder a sync program
// carries off the machine). Every failure throws Riri::Error with a
// description for the user; a copy that cannot be read is refused with
// refusedMessage() (number kRefused), whatever the cause.
class RIRI_EXPORT OffsiteCopies {
public:
    static constexpr int kRefused = 451;

    // "The passphrase is wrong or the copy was changed."
    static QString refusedMessage();
    // Whether the file begins as an encrypted copy does.
    static bool isEncrypted(const QString& path);
    // "Quorvane-<yyyy-MM-dd>-<HHmmss>.qvcrypt".
    static QString copyName(const QDateTime& made);
    // The copies in a folder, newest first.
    static QStringList list(const QString& folder);
    // The name under which the desktop's keyring keeps the passphrase of
    // this inventory's copies.
    static QString keyringKey();

    // Whether the passphrase opens the newest copy in the folder (its first
    // chunk is decrypted); true when the folder holds none.
    static bool opensNewest(const QString& folder, const QString& passphrase);

    // Writes a copy into folder: under a temporary name, forced to the disk,
    // read back and decrypted in full and the archive verified (every hash,
    // the database), then renamed to copyName(made); then the oldest copies
    // beyond keep are removed. Returns the copy's path; check, when given,
    // gets the database's check. limits are the key derivation's (lower only
    // in tests). Progress counts bytes: writing, then reading back.
    static QString write(const QString& folder, const QString& passphrase, int keep,
                         const Progress& progress = {}, InventoryCheck* check = nullptr,
                         const QDateTime& made = QDateTime::currentDateTime(),
                         const KeyLimits& limits = KeyLimits::moderate());

    // Decrypts a copy in full and verifies the archive in it; changes
    // nothing. Returns the database's check.
    static InventoryCheck verify(const QString& path, const QString& passphrase,
                                 const Progress& progress = {});
    // Restores the inventory from a copy: decrypted and verified in full
    // first, then restored as a backup archive is. Returns the database's
    // check. Refused, the inventory stays as it is.
    static InventoryCheck restore(const QString& path, const QString& passphrase,
                                  const Progress& progress = {});

    // Removes the copies beyond the newest keep in the folder, and the
    // temporary files of writes that were killed an hour or more ago.
    static void prune(const QString& folder, int keep);
};

} // namespace Riri
