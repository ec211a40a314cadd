#pragma once

#include "RiriExport.h"

#include <QDateTime>
#include <QString>

namespace Riri {

// What the user chose for the off-site copies, and what the schedule must
// remember between runs of the program. Kept in offsite.ini in the
// component's data folder, beside the inventory it belongs to. The
// passphrase is never kept here: the program keeps it, when the user wants,
// in the desktop's keyring.
struct RIRI_EXPORT OffsiteSettings {
    // When copies are written without being asked for.
    enum class Schedule { AtEndAfterChange, OnRequest };

    QString folder;
    bool rememberPassphrase = false;
    Schedule schedule = Schedule::AtEndAfterChange;
    int keep = 7;
    // When the settings were first saved with a folder: the age of the
    // copies is counted from here until the first one is written.
    QDateTime configured;

    // The state of the schedule.
    QDateTime lastCopy;    // the newest copy written
    QDateTime lastAttempt; // the newest attempt, written or not
    bool lastFailed = false;
    QString failure; // why the last attempt failed

    bool isConfigured() const { return !folder.isEmpty(); }

    // The settings of the component's inventory; the defaults when none
    // were saved.
    static OffsiteSettings load();
    // Saves the choices and the state.
    void save() const;

    // A written copy, or a failed attempt, recorded and saved.
    static void recordCopy(const QDateTime& when);
    static void recordFailure(const QDateTime& when, const QString& reason);

    // The file the settings are kept in.
    static QString filePath();
};

} // namespace Riri
