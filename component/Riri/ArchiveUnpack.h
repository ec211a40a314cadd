#pragma once

#include "InventoryCheck.h"
#include "Progress.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <optional>

class QIODevice;
struct archive;
struct archive_entry;

namespace Riri {

// The names a backup archive holds.
namespace ArchiveNames {
inline const QString kInventory = QStringLiteral("inventory.inv");
inline const QString kManifest = QStringLiteral("SHA256SUMS");
inline const QString kEvidenceFolder = QStringLiteral("evidence/");
inline QString evidence(const QString& sha256) {
    return kEvidenceFolder + sha256;
}
} // namespace ArchiveNames

// A backup archive read from a device into a private temporary folder and
// checked through: every entry's name, kind and size as it is read, then the
// manifest against the entries and their hashes, each evidence file against
// its name, and the database (integrity, its tables, its counts, every
// evidence file it names present). The constructor throws Riri::Error with
// the reason for the user when anything is wrong; nothing is written outside
// the folder, which goes with the object.
class ArchiveUnpack {
public:
    // What stays in the folder: everything, for a restore, or the database
    // alone, for a check (the evidence files are hashed as they are read).
    enum class Keep { Everything, DatabaseOnly };
    ArchiveUnpack(QIODevice& in, Keep keep, const Progress& progress);
    ArchiveUnpack(const ArchiveUnpack&) = delete;
    ArchiveUnpack& operator=(const ArchiveUnpack&) = delete;

    // Why an archive was refused, from the description of the error the
    // constructor threw, for a message of its own.
    static QString reasonOf(const QString& description);

    // The database's check, with the number of evidence files.
    const InventoryCheck& check() const { return m_check; }
    // Where an entry of the archive lies in the temporary folder.
    QString pathOf(const QString& name) const;
    // The SHA-256 of every evidence file, in the archive's order.
    const QStringList& evidence() const { return m_evidence; }
    qint64 evidenceBytes() const { return m_evidenceBytes; }

private:
    void readEntries(QIODevice& in, const Progress& progress);
    void checkName(archive_entry* entry, const QString& name) const;
    void checkDirectory(const std::optional<QByteArray>& bytes) const;
    void extract(archive* reader, const QString& name, qint64 declared);
    void checkManifest() const;
    void checkDatabase();

    QTemporaryDir m_dir;
    Keep m_keep;
    // The free space left for what is still to be unpacked.
    qint64 m_room = 0;
    // The SHA-256 of every entry read, by name.
    QHash<QString, QString> m_hashes;
    QStringList m_evidence;
    qint64 m_evidenceBytes = 0;
    InventoryCheck m_check;
};

} // namespace Riri
