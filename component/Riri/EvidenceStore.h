#pragma once

#include "Progress.h"
#include "RiriExport.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

namespace Riri {

// What a piece of evidence is. The names are what the windows show and what
// tblEvidence.Kind holds.
enum class EvidenceKind { Photo, Receipt, SerialLabel, Manual, Warranty, Appraisal, Other };
// "Photo", "Receipt", "Serial label", "Manual", "Warranty", "Appraisal", "Other".
RIRI_EXPORT QString evidenceKindName(EvidenceKind kind);
// The kind of a name; Other for a name that is none of them.
RIRI_EXPORT EvidenceKind evidenceKindFromName(const QString& name);
RIRI_EXPORT QStringList evidenceKindNames();

// One attachment: a row of tblEvidence.
struct Attachment {
    qint64 id = 0;
    qint64 itemRef = 0; // tblItems.ID
    EvidenceKind kind = EvidenceKind::Other;
    QString caption;
    QString fileName; // the original name, without a folder
    QString mediaType;
    qint64 size = 0;
    QString sha256;
    int width = 0; // 0 when not a picture
    int height = 0;
    QString takenDate;    // "yyyy-MM-dd HH:mm:ss" from EXIF, or empty
    QString addDate;      // "yyyy-MM-dd HH:mm:ss"
    QByteArray thumbnail; // JPEG of at most 256 px; empty when there is none
};

// What the program's decoders found in a file before it is stored.
struct EvidenceFacts {
    QString mediaType = QStringLiteral("application/octet-stream");
    int width = 0;
    int height = 0;
    QString takenDate;
    QByteArray thumbnail;
};

// A file to attach.
struct NewAttachment {
    QString sourcePath;
    QString fileName; // shown and kept; the source's name when empty
    EvidenceKind kind = EvidenceKind::Other;
    QString caption;
    EvidenceFacts facts;
};

// An evidence file the inventory names that is missing from the store or
// whose content no longer has its hash.
struct EvidenceProblem {
    qint64 itemRef = 0;
    QString itemId;
    QString itemName;
    QString fileName;
    QString sha256;
    bool missing = false; // else altered
};

// The attachments of the inventory's items. Every failure throws Riri::Error
// with a description for the user.
class RIRI_EXPORT EvidenceStore {
public:
    // The component's inventory.
    EvidenceStore();
    explicit EvidenceStore(const QString& databaseFile);

    // tblItems.ID of an Item ID; 0 when there is no such item.
    qint64 itemRefOf(const QString& itemId) const;

    // Stores every file (hashed, written and forced to the disk) and then
    // adds all their rows in one transaction; returns the new rows' IDs in
    // order. Progress counts bytes over all files. Cancelled or failed, no
    // row is added.
    QList<qint64> add(qint64 itemRef, const QList<NewAttachment>& files,
                      const Progress& progress = {});
    // An item's attachments in the order added.
    QList<Attachment> list(qint64 itemRef, bool withThumbnails = true) const;
    Attachment attachment(qint64 id) const;
    void setCaption(qint64 id, const QString& caption);
    void setKind(qint64 id, EvidenceKind kind);
    void remove(qint64 id);
    // Where an attachment's file lies in the store.
    QString filePath(const Attachment& attachment) const;

    // Removes the store's files that neither the inventory nor any automatic
    // copy names, at most once a day; returns how many went.
    int sweepIfDue(const QDateTime& now = QDateTime::currentDateTime());
    // Every file the inventory names, read in full and hashed.
    QList<EvidenceProblem> check(const Progress& progress = {}) const;

private:
    QString m_database;
};

} // namespace Riri
