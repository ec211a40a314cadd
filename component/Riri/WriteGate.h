#pragma once

#include "RiriExport.h"

#include <QString>

namespace Riri {

// Holds every write to the inventory back until start-up's check of the
// file has passed. Start-up closes the gate before it checks the file on a
// worker thread and opens it when the file is sound; a writer that comes
// earlier waits for the verdict, and is refused when the file is damaged.
// Outside the windows' start-up (the command line, the tests) it is open.
class RIRI_EXPORT WriteGate {
public:
    enum class State { Open, Pending, Damaged };

    // The check has begun: writers wait from now on.
    static void close();
    // The file is sound: every waiting writer goes on.
    static void open();
    // The file is damaged: every waiting and later writer is refused until
    // a restore puts a sound file in its place and opens the gate.
    static void markDamaged();

    static State state();
    // Waits while the check runs and returns its verdict.
    static State waitForVerdict();
    // For a writer: waits while the check runs, then throws Riri::Error when
    // the file was found damaged.
    static void requireWritable();

    // The refusal a writer gets on a damaged file.
    static QString damagedMessage();
};

} // namespace Riri
