#pragma once

#include <Riri/Progress.h>

#include <QString>

// A claim package: one folder holding claim.pdf, claim.csv (the schedule of
// loss), evidence/ with a copy of every evidence file of the claim's items
// named "<line>-<ItemID>-<n>.<ext>", and SHA256SUMS over all of them, as
// `sha256sum -c` reads it. The folder is written under a hidden temporary
// name beside the target and renamed to it only when complete; a failure or
// a cancel removes it, so the target is there whole or not at all.
class ClaimPackage {
public:
    // Writes the package of the claim to `target`, a folder that must not
    // exist yet in a folder that does. The progress hears of the work done
    // (files copied, items drawn) of all; returning false cancels, which
    // throws Riri::Error with ErrorNumber::Cancelled. Any failure throws
    // Riri::Error with a text for the user, an evidence file missing from
    // the store or altered in it among them.
    static void write(qint64 claimId, const QString& target, const Riri::Progress& progress = {});
};
