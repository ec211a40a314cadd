#include "BackupArchive.h"

#include "ArchiveUnpack.h"
#include "Connection.h"
#include "Error.h"
#include "ErrorNumbers.h"
#include "EvidenceFiles.h"
#include "EvidenceNames.h"
#include "InventoryCopy.h"
#include "InventorySchema.h"
#include "SafeFile.h"
#include "Sha256.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <archive.h>
#include <archive_entry.h>
#include <memory>
#include <sqlite3.h>

namespace Riri {

namespace {

constexpr qint64 kChunk = 1 << 20;
// libarchive hands the device blocks of this size, and the last one short.
constexpr int kBlockBytes = 1 << 16;

struct ArchiveCloser {
    void operator()(archive* handle) const noexcept { archive_write_free(handle); }
};
struct EntryFreer {
    void operator()(archive_entry* entry) const noexcept { archive_entry_free(entry); }
};

// The distinct evidence files a database names, each with its size as the
// rows record it. None for a file without the evidence table.
QList<std::pair<QString, qint64>> namedEvidence(const QString& database) {
    // Every file a row names, the history's included, with its size in the
    // store (0 for one missing, which the writer then refuses).
    QStringList named = EvidenceNames::ofFile(database).values();
    named.sort();
    const EvidenceFiles store(database);
    QList<std::pair<QString, qint64>> files;
    for (const QString& sha256 : named) {
        files.append({sha256, QFileInfo(store.pathFor(sha256)).size()});
    }
    return files;
}

// Writes the entries of one ZIP archive to a device through libarchive.
class ZipStream {
public:
    explicit ZipStream(QIODevice& out) : m_out(out), m_archive(archive_write_new()) {
        archive* a = m_archive.get();
        if (archive_write_set_format_zip(a) != ARCHIVE_OK ||
            archive_write_set_bytes_per_block(a, kBlockBytes) != ARCHIVE_OK ||
            archive_write_set_bytes_in_last_block(a, 1) != ARCHIVE_OK ||
            archive_write_open(a, this, nullptr, &ZipStream::write, nullptr) != ARCHIVE_OK) {
            fail();
        }
    }

    // Begins an entry of the given size; deflated when it pays.
    void begin(const QString& name, qint64 size, bool deflate) {
        archive* a = m_archive.get();
        const int set = deflate ? archive_write_zip_set_compression_deflate(a)
                                : archive_write_zip_set_compression_store(a);
        const std::unique_ptr<archive_entry, EntryFreer> entry(archive_entry_new());
        archive_entry_set_pathname_utf8(entry.get(), name.toUtf8().constData());
        archive_entry_set_filetype(entry.get(), AE_IFREG);
        archive_entry_set_perm(entry.get(), 0644);
        archive_entry_set_size(entry.get(), size);
        archive_entry_set_mtime(entry.get(), QDateTime::currentSecsSinceEpoch(), 0);
        if (set != ARCHIVE_OK || archive_write_header(a, entry.get()) != ARCHIVE_OK) {
            fail();
        }
    }
    void data(const QByteArray& bytes) {
        if (archive_write_data(m_archive.get(), bytes.constData(), size_t(bytes.size())) !=
            bytes.size()) {
            fail();
        }
    }
    void finish() {
        if (archive_write_close(m_archive.get()) != ARCHIVE_OK) {
            fail();
        }
    }

private:
    static la_ssize_t write(archive*, void* self, const void* buffer, size_t length) {
        auto* stream = static_cast<ZipStream*>(self);
        const qint64 written =
            stream->m_out.write(static_cast<const char*>(buffer), qint64(length));
        if (written != qint64(length)) {
            stream->m_failure = stream->m_out.errorString();
            return -1;
        }
        return la_ssize_t(written);
    }
    [[noreturn]] void fail() const {
        const QString reason = !m_failure.isEmpty()
                                   ? m_failure
                                   : QString::fromUtf8(archive_error_string(m_archive.get()));
        throw Error(SQLITE_IOERR,
                    QStringLiteral("The backup archive cannot be written: %1")
                        .arg(reason.isEmpty() ? QStringLiteral("unknown error") : reason));
    }

    QIODevice& m_out;
    std::unique_ptr<archive, ArchiveCloser> m_archive;
    QString m_failure;
};

// Copies one file into the archive's current entry, hashing it on the way
// when hash is given.
void copyEntry(ZipStream& zip, const QString& path, Sha256* hash, qint64 before, qint64 whole,
               const Progress& progress) {
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly)) {
        throw Error(SQLITE_IOERR, QStringLiteral("Cannot read %1: %2")
                                      .arg(QDir::toNativeSeparators(path), in.errorString()));
    }
    qint64 done = 0;
    for (;;) {
        const QByteArray chunk = in.read(kChunk);
        if (chunk.isEmpty()) {
            break;
        }
        if (hash != nullptr) {
            hash->add(chunk);
        }
        zip.data(chunk);
        done += chunk.size();
        if (!goOn(progress, before + done, whole)) {
            throw Error(ErrorNumber::Cancelled, QStringLiteral("The backup was cancelled."));
        }
    }
}

// Runs work, telling a cancel as the operation's.
template <typename Work> auto cancelledAs(const char* operation, const Work& work) {
    try {
        return work();
    } catch (const Error& error) {
        if (error.number() == ErrorNumber::Cancelled) {
            throw Error(ErrorNumber::Cancelled,
                        QStringLiteral("The %1 was cancelled.").arg(QLatin1String(operation)));
        }
        throw;
    }
}

// Two passes over about the same bytes told as one operation: the first
// pass's own count, then the second's scaled to the first's whole, so that
// the work done only grows.
class TwoPasses {
public:
    explicit TwoPasses(const Progress& progress) : m_progress(progress) {}
    TwoPasses(const TwoPasses&) = delete;
    TwoPasses& operator=(const TwoPasses&) = delete;

    Progress first() {
        if (!m_progress) {
            return {};
        }
        return [this](qint64 done, qint64 total) {
            m_whole = total;
            return m_progress(done, 2 * total);
        };
    }
    Progress second() {
        if (!m_progress) {
            return {};
        }
        return [this](qint64 done, qint64 total) {
            if (m_whole <= 0) {
                return m_progress(done, total); // the first pass's size was not known
            }
            const qint64 scaled =
                total > 0 ? qint64(double(qMin(done, total)) / double(total) * double(m_whole)) : 0;
            return m_progress(m_whole + scaled, 2 * m_whole);
        };
    }
    // Both passes are through: false when progress asks to stop even now.
    bool finish() const { return goOn(m_progress, 2 * m_whole, 2 * m_whole); }

private:
    const Progress& m_progress;
    qint64 m_whole = 0;
};

// The restore from an archive; a cancel is told as the check's or the
// store's.
InventoryCheck restoreFrom(QIODevice& in, const Progress& progress) {
    // Two passes of about the archive's size: reading it in, then adding the
    // files to the store and replacing the database.
    TwoPasses passes(progress);
    const ArchiveUnpack unpacked(in, ArchiveUnpack::Keep::Everything, passes.first());
    const Progress second = passes.second();
    // An inventory of a newer version is never replaced: refused before the
    // store gets any file.
    if (InventoryCopy::writtenByNewerVersion(InventoryCopy::databasePath())) {
        throw Error(SQLITE_READONLY, InventorySchema::newerVersionMessage());
    }
    const EvidenceFiles store = EvidenceFiles::forInventory();
    const QString database = unpacked.pathOf(ArchiveNames::kInventory);
    const qint64 whole = qMax<qint64>(1, unpacked.evidenceBytes() + 3 * QFileInfo(database).size());
    qint64 before = 0;
    // The files go in first: a store file no row names is harmless (and
    // swept), a row without its file is not.
    for (const QString& sha256 : unpacked.evidence()) {
        QFile file(unpacked.pathOf(ArchiveNames::evidence(sha256)));
        if (!file.open(QIODevice::ReadOnly)) {
            throw Error(SQLITE_IOERR,
                        QStringLiteral("Cannot read %1: %2")
                            .arg(QDir::toNativeSeparators(file.fileName()), file.errorString()));
        }
        const qint64 size = file.size();
        store.put(file, sha256, size, stepOf(second, before, whole));
        before += size;
    }
    InventoryCheck check = InventoryCopy::restore(database, stepOf(second, before, whole));
    check.evidenceFiles = unpacked.evidence().size();
    passes.finish(); // the inventory is replaced: too late to cancel
    return check;
}

} // namespace

bool BackupArchive::isArchive(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray start = file.read(4);
    return start == QByteArrayLiteral("PK\x03\x04") || start == QByteArrayLiteral("PK\x05\x06");
}

InventoryCheck BackupArchive::write(QIODevice& out, const Progress& progress) {
    const QString live = InventoryCopy::databasePath();
    const EvidenceFiles store(live);
    // The online backup of the database goes to a temporary file beside it,
    // removed when the archive is written.
    const QString copy =
        SafeFile::makeTemporary(QFileInfo(live).absolutePath() + QStringLiteral("/archive.inv"));
    const auto removeCopy = qScopeGuard([&copy] { SafeFile::discard(copy); });

    // Passes over the bytes: the database copied and checked (twice its
    // size), then every file read into the archive once.
    const qint64 liveBytes = QFileInfo(live).size();
    qint64 evidenceBytes = 0;
    for (const auto& [sha256, size] : namedEvidence(live)) {
        evidenceBytes += size;
    }
    const qint64 whole = 3 * liveBytes + evidenceBytes;
    InventoryCheck check = cancelledAs("backup", [&] {
        return InventoryCopy::backUpFile(live, copy, stepOf(progress, 0, whole));
    });

    // The files the copy names: the copy and the archive describe one moment.
    const QList<std::pair<QString, qint64>> files = namedEvidence(copy);
    QStringList sums;
    ZipStream zip(out);
    const qint64 copyBytes = QFileInfo(copy).size();
    qint64 before = 2 * liveBytes;
    zip.begin(ArchiveNames::kInventory, copyBytes, true);
    Sha256 databaseHash;
    copyEntry(zip, copy, &databaseHash, before, whole, progress);
    sums.append(databaseHash.hex() + QStringLiteral("  ") + ArchiveNames::kInventory);
    before += copyBytes;
    for (const auto& [sha256, size] : files) {
        const QString path = store.pathFor(sha256);
        const QFileInfo info(path);
        if (!EvidenceFiles::isSha256(sha256) || !info.isFile()) {
            throw Error(SQLITE_IOERR,
                        QStringLiteral("The evidence file %1 is missing from %2; the backup was "
                                       "not made. Check the inventory to find its item.")
                            .arg(sha256, QDir::toNativeSeparators(store.folder())));
        }
        // A store file is named by its hash: the manifest gives the name,
        // and reading the archive back hashes every byte, so a file altered
        // in the store fails that check with its name. Hashing it here too
        // would double the work of a backup.
        const QString name = ArchiveNames::evidence(sha256);
        zip.begin(name, info.size(), false);
        copyEntry(zip, path, nullptr, before, whole, progress);
        sums.append(sha256 + QStringLiteral("  ") + name);
        before += info.size();
    }
    const QByteArray manifest = (sums.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
    zip.begin(ArchiveNames::kManifest, manifest.size(), true);
    zip.data(manifest);
    zip.finish();
    goOn(progress, whole, whole);
    check.evidenceFiles = files.size();
    return check;
}

InventoryCheck BackupArchive::verify(QIODevice& in, const Progress& progress) {
    return ArchiveUnpack(in, ArchiveUnpack::Keep::DatabaseOnly, progress).check();
}

InventoryCheck BackupArchive::restore(QIODevice& in, const Progress& progress) {
    return cancelledAs("restore", [&] { return restoreFrom(in, progress); });
}

InventoryCheck BackupArchive::backUp(const QString& target, const Progress& progress) {
    TwoPasses passes(progress);
    const QString temporary = SafeFile::makeTemporary(target);
    auto discard = qScopeGuard([&temporary] { SafeFile::discard(temporary); });
    InventoryCheck written;
    {
        QFile out(temporary);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            throw Error(SQLITE_CANTOPEN,
                        QStringLiteral("Cannot write %1: %2")
                            .arg(QDir::toNativeSeparators(target), out.errorString()));
        }
        written = write(out, passes.first());
        if (!out.flush()) {
            throw Error(SQLITE_FULL, QStringLiteral("Cannot write %1: %2")
                                         .arg(QDir::toNativeSeparators(target), out.errorString()));
        }
    }
    SafeFile::syncFile(temporary);
    QFile back(temporary);
    if (!back.open(QIODevice::ReadOnly)) {
        throw Error(SQLITE_CANTOPEN,
                    QStringLiteral("Cannot read back %1: %2")
                        .arg(QDir::toNativeSeparators(target), back.errorString()));
    }
    InventoryCheck read;
    try {
        read = cancelledAs("backup", [&] { return verify(back, passes.second()); });
    } catch (const Error& error) {
        if (error.number() == ErrorNumber::Cancelled) {
            throw;
        }
        throw Error(error.number(), QStringLiteral("The backup archive could not be verified: %1")
                                        .arg(ArchiveUnpack::reasonOf(error.description())));
    }
    if (read.items != written.items || read.owners != written.owners ||
        read.evidenceFiles != written.evidenceFiles) {
        throw Error(SQLITE_CORRUPT,
                    QStringLiteral("The backup archive could not be verified: it holds %1 items, "
                                   "%2 owner records and %3 evidence files instead of %4, %5 "
                                   "and %6.")
                        .arg(read.items)
                        .arg(read.owners)
                        .arg(read.evidenceFiles)
                        .arg(written.items)
                        .arg(written.owners)
                        .arg(written.evidenceFiles));
    }
    if (!passes.finish()) {
        throw Error(ErrorNumber::Cancelled, QStringLiteral("The backup was cancelled."));
    }
    SafeFile::commit(temporary, target);
    discard.dismiss();
    return read;
}

InventoryCheck BackupArchive::restoreFile(const QString& path, const Progress& progress) {
    if (!isArchive(path)) {
        return InventoryCopy::restore(path, progress);
    }
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly)) {
        throw Error(SQLITE_CANTOPEN, QStringLiteral("Cannot read %1: %2")
                                         .arg(QDir::toNativeSeparators(path), in.errorString()));
    }
    return restore(in, progress);
}

} // namespace Riri
