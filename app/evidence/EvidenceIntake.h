#pragma once

#include "platform/MediaFacts.h"

#include <Riri/EvidenceStore.h>
#include <Riri/Progress.h>

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// Turns files the user chose, dropped or pasted into an item's attachments:
// each file checked, its facts and thumbnail read, its kind guessed, and all
// of them stored in one go. Runs on a worker thread (a long task).
class EvidenceIntake {
public:
    // What a run did.
    struct Outcome {
        QList<qint64> added; // the new attachments' IDs
        QStringList refused; // "name: reason" of each file that was not taken
    };

    // A PDF whose name holds "receipt" or "invoice" is a Receipt, a picture a
    // Photo, anything else Other.
    static Riri::EvidenceKind guessKind(const QString& fileName, MediaFacts::Kind kind);
    // Why a file cannot be attached, or an empty text when it can.
    static QString refusal(const QString& path);

    // Reads the facts of every file that can be attached and stores them all
    // for the item. `reading` hears of the bytes of the files read,
    // `storing` of the bytes stored; either may stop the run.
    static Outcome add(qint64 itemRef, const QStringList& paths, const Riri::Progress& reading,
                       const Riri::Progress& storing);

    // A pasted picture written as a PNG file in `folder`; its path, or an
    // empty text when it could not be written.
    static QString writePasted(const QImage& image, const QString& folder);
};
