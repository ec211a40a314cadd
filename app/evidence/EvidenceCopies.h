#pragma once

#include <QString>

// Copies of stored evidence files for the user: a read-only copy for another
// program to open, in a private folder of this run that is removed when the
// program ends, and a copy saved where the user chooses.
class EvidenceCopies {
public:
    // A read-only copy of `storedFile` named `fileName` in the private
    // folder (each copy in a folder of its own, so equal names never meet);
    // an empty text when it could not be made.
    static QString temporaryCopy(const QString& storedFile, const QString& fileName);
    // The private folder, made on first use; empty until then.
    static QString privateFolder();
    // Copies `storedFile` to `target`, replacing a file there, through a
    // temporary name; false when it could not be written.
    static bool saveCopy(const QString& storedFile, const QString& target);
};
