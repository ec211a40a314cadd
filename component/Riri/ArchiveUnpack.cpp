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
#include "ZipDirectory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QRegularExpression>
#include <QSet>
#include <QStorageInfo>
#include <archive.h>
#include <archive_entry.h>
#include <cerrno>
#include <memory>
#include <optional>
#include <sqlite3.h>
#include <sys/stat.h>

namespace Riri {

namespace {

constexpr qint64 kChunk = 1 << 20;
// The longest central directory read: some 500,000 entries.
constexpr qint64 kMaxDirectory = 64 * kChunk;
// How long a sequential device may keep the next bytes waiting.
constexpr int kReadWaitMs = 30000;

const QString kRefused = QStringLiteral("The backup archive was refused: ");

[[noreturn]] void refuse(const QString& reason) {
    throw Error(SQLITE_CORRUPT, kRefused + reason);
}

QString quoted(const QString& name) {
    return QLatin1Char('"') + name + QLatin1Char('"');
}

struct ReaderFreer {
    void operator()(archive* handle) const noexcept { archive_read_free(handle); }
};

// Feeds libarchive from the device and tells the bytes read as progress.
class DeviceSource {
public:
    DeviceSource(QIODevice& in, const Progress& progress)
        : m_in(in), m_progress(progress), m_total(in.isSequential() ? 0 : in.size()) {}

    static la_ssize_t read(archive*, void* self, const void** buffer) {
        auto* source = static_cast<DeviceSource*>(self);
        // The chunk before stays: the central directory may begin in it.
        std::swap(source->m_previous, source->m_current);
        source->m_previousStart = source->m_currentStart;
        source->m_currentStart = source->m_done;
        const QByteArray got = source->next();
        if (got.isNull()) {
            return -1;
        }
        source->m_current = got;
        source->m_done += got.size();
        if (!goOn(source->m_progress, source->m_done, source->m_total)) {
            source->m_cancelled = true;
            return -1;
        }
        *buffer = source->m_current.constData();
        return la_ssize_t(got.size());
    }

    // The rest of the stream from the offset start on, up to limit bytes;
    // nothing when it is no longer at hand or longer than limit.
    std::optional<QByteArray> rest(qint64 start, qint64 limit) {
        if (start < m_previousStart || start > m_done) {
            return std::nullopt;
        }
        QByteArray bytes = (m_previous + m_current).mid(start - m_previousStart);
        for (;;) {
            const QByteArray more = next();
            if (more.isNull() || bytes.size() + more.size() > limit) {
                return std::nullopt;
            }
            if (more.isEmpty()) {
                return bytes;
            }
            bytes += more;
        }
    }

    bool cancelled() const { return m_cancelled; }
    qint64 done() const { return m_done; }

private:
    QIODevice& m_in;
    const Progress& m_progress;
    qint64 m_total;
    qint64 m_done = 0;
    bool m_cancelled = false;
    QByteArray m_previous;
    QByteArray m_current;
    qint64 m_previousStart = 0;
    qint64 m_currentStart = 0;

    // The next chunk of the device: empty at its end, null on failure.
    QByteArray next() {
        QByteArray bytes = m_in.read(kChunk);
        while (bytes.isEmpty() && m_in.isSequential() && !m_in.atEnd() &&
               m_in.waitForReadyRead(kReadWaitMs)) {
            bytes = m_in.read(kChunk);
        }
        if (bytes.isEmpty()) {
            return m_in.atEnd() || m_in.isSequential() ? QByteArray("") : QByteArray();
        }
        return bytes;
    }
};

// The temporary folder: below home/, on the disk the store is on and
// readable by the user alone. Never the system's temporary folder: the
// content of an encrypted copy is checked here, and no plain byte of the
// inventory leaves the data folder.
QString folderPattern() {
    return QFileInfo(InventoryCopy::databasePath()).absolutePath() +
           QStringLiteral("/.restore.part-XXXXXX"); // swept when left behind
}

} // namespace

ArchiveUnpack::ArchiveUnpack(QIODevice& in, Keep keep, const Progress& progress)
    : m_dir(folderPattern()), m_keep(keep) {
    if (!m_dir.isValid()) {
        throw Error(SQLITE_CANTOPEN,
                    QStringLiteral("Cannot make a temporary folder: %1").arg(m_dir.errorString()));
    }
    QFile::setPermissions(m_dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (!QDir(m_dir.path()).mkdir(QStringLiteral("evidence"))) {
        throw Error(
            SQLITE_CANTOPEN,
            QStringLiteral("Cannot write in %1.").arg(QDir::toNativeSeparators(m_dir.path())));
    }
    m_room = QStorageInfo(m_dir.path()).bytesAvailable();
    readEntries(in, progress);
    checkManifest();
    checkDatabase();
}

QString ArchiveUnpack::reasonOf(const QString& description) {
    return description.startsWith(kRefused) ? description.mid(kRefused.size()) : description;
}

QString ArchiveUnpack::pathOf(const QString& name) const {
    return m_dir.filePath(name);
}

void ArchiveUnpack::readEntries(QIODevice& in, const Progress& progress) {
    DeviceSource source(in, progress);
    const std::unique_ptr<archive, ReaderFreer> reader(archive_read_new());
    archive* a = reader.get();
    const auto failed = [&](int rc) {
        if (source.cancelled()) {
            throw Error(ErrorNumber::Cancelled, QStringLiteral("The check was cancelled."));
        }
        const char* text = archive_error_string(a);
        refuse(QStringLiteral("it is damaged or truncated (%1).")
                   .arg(text != nullptr ? QString::fromUtf8(text)
                                        : QStringLiteral("error %1").arg(rc)));
    };
    archive_read_support_format_zip_streamable(a);
    int rc = archive_read_open(a, &source, nullptr, &DeviceSource::read, nullptr);
    if (rc != ARCHIVE_OK) {
        failed(rc);
    }
    for (;;) {
        archive_entry* entry = nullptr;
        rc = archive_read_next_header(a, &entry);
        if (rc == ARCHIVE_EOF) {
            break;
        }
        if (rc != ARCHIVE_OK) {
            failed(rc);
        }
        const char* utf8 = archive_entry_pathname_utf8(entry);
        const char* raw = archive_entry_pathname(entry);
        const QString name = utf8 != nullptr  ? QString::fromUtf8(utf8)
                             : raw != nullptr ? QString::fromLocal8Bit(raw)
                                              : QString();
        checkName(entry, name);
        extract(a, name, archive_entry_size_is_set(entry) ? archive_entry_size(entry) : -1);
        if (source.cancelled()) {
            failed(ARCHIVE_FATAL);
        }
    }
    checkDirectory(source.rest(archive_filter_bytes(a, -1), kMaxDirectory));
    if (!m_hashes.contains(ArchiveNames::kInventory)) {
        refuse(QStringLiteral("it holds no %1.").arg(ArchiveNames::kInventory));
    }
    if (!m_hashes.contains(ArchiveNames::kManifest)) {
        refuse(QStringLiteral("it holds no %1.").arg(ArchiveNames::kManifest));
    }
}

void ArchiveUnpack::checkName(archive_entry* entry, const QString& name) const {
    if (name.isEmpty()) {
        refuse(QStringLiteral("an entry has no readable name."));
    }
    if (name.startsWith(QLatin1Char('/')) || name.startsWith(QLatin1Char('\\')) ||
        (name.size() > 1 && name.at(1) == QLatin1Char(':'))) {
        refuse(QStringLiteral("the entry %1 has an absolute name.").arg(quoted(name)));
    }
    static const QRegularExpression separator(QStringLiteral("[/\\\\]"));
    if (name.split(separator).contains(QStringLiteral(".."))) {
        refuse(QStringLiteral("the entry %1 leads out of its folder.").arg(quoted(name)));
    }
    if (archive_entry_symlink(entry) != nullptr || archive_entry_hardlink(entry) != nullptr ||
        archive_entry_filetype(entry) == AE_IFLNK) {
        refuse(QStringLiteral("the entry %1 is a link.").arg(quoted(name)));
    }
    if (archive_entry_filetype(entry) != AE_IFREG) {
        refuse(QStringLiteral("the entry %1 is not a regular file.").arg(quoted(name)));
    }
    if (m_hashes.contains(name)) {
        refuse(QStringLiteral("the entry %1 appears twice.").arg(quoted(name)));
    }
    const bool evidence = name.startsWith(ArchiveNames::kEvidenceFolder) &&
                          EvidenceFiles::isSha256(name.mid(ArchiveNames::kEvidenceFolder.size()));
    if (!evidence && name != ArchiveNames::kInventory && name != ArchiveNames::kManifest) {
        refuse(
            QStringLiteral("the entry %1 does not belong in a backup archive.").arg(quoted(name)));
    }
}

void ArchiveUnpack::checkDirectory(const std::optional<QByteArray>& bytes) const {
    const std::optional<QList<ZipDirectory::Entry>> entries =
        bytes ? ZipDirectory::parse(*bytes) : std::nullopt;
    if (!entries) {
        refuse(QStringLiteral("its central directory cannot be read: it is damaged or "
                              "truncated."));
    }
    QStringList names;
    for (const ZipDirectory::Entry& entry : *entries) {
        const quint32 type = entry.unixMode.value_or(0) & S_IFMT;
        if (type == S_IFLNK) {
            refuse(QStringLiteral("the entry %1 is a link.").arg(quoted(entry.name)));
        }
        if (type != 0 && type != S_IFREG) {
            refuse(QStringLiteral("the entry %1 is not a regular file.").arg(quoted(entry.name)));
        }
        names.append(entry.name);
    }
    QStringList read = m_hashes.keys();
    names.sort();
    read.sort();
    if (names != read) {
        // Another unzip program would show other entries than the ones checked.
        refuse(QStringLiteral("its central directory does not list the entries it holds."));
    }
}

void ArchiveUnpack::extract(archive* reader, const QString& name, qint64 declared) {
    const bool evidence = name.startsWith(ArchiveNames::kEvidenceFolder);
    const qint64 limit = evidence ? EvidenceFiles::kMaxFileSize : -1;
    const QString path = pathOf(name);
    const auto tooLarge = [&](qint64 size) {
        refuse(QStringLiteral("the entry %1 (%2 bytes) is larger than the %3 bytes of free "
                              "space left.")
                   .arg(quoted(name))
                   .arg(size)
                   .arg(qMax<qint64>(0, m_room)));
    };
    if (limit >= 0 && declared > limit) {
        refuse(QStringLiteral("the evidence file %1 is larger than 1 GB.").arg(quoted(name)));
    }
    // Evidence that is only checked is hashed as it comes and not kept.
    const bool keep = !evidence || m_keep == Keep::Everything;
    if (keep && declared > m_room) {
        tooLarge(declared);
    }
    QFile out(path);
    if (keep && !out.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        throw Error(SQLITE_CANTOPEN, QStringLiteral("Cannot write %1: %2")
                                         .arg(QDir::toNativeSeparators(path), out.errorString()));
    }
    Sha256 hash;
    QByteArray buffer(kChunk, Qt::Uninitialized);
    qint64 size = 0;
    for (;;) {
        const la_ssize_t got = archive_read_data(reader, buffer.data(), size_t(buffer.size()));
        if (got == 0) {
            break;
        }
        if (got < 0) {
            const char* text = archive_error_string(reader);
            refuse(QStringLiteral("it is damaged or truncated (%1).")
                       .arg(text != nullptr ? QString::fromUtf8(text) : QStringLiteral("?")));
        }
        size += got;
        if (declared >= 0 && size > declared) {
            refuse(QStringLiteral("the entry %1 is larger than its declared size of %2 bytes.")
                       .arg(quoted(name))
                       .arg(declared));
        }
        if (limit >= 0 && size > limit) {
            refuse(QStringLiteral("the evidence file %1 is larger than 1 GB.").arg(quoted(name)));
        }
        if (keep && size > m_room) {
            tooLarge(size);
        }
        hash.add(buffer.constData(), got);
        if (keep && out.write(buffer.constData(), got) != got) {
            if (out.error() == QFileDevice::ResourceError || errno == ENOSPC) {
                tooLarge(size);
            }
            throw Error(SQLITE_FULL, SafeFile::writeFailure(errno, path));
        }
    }
    if (keep && !out.flush()) {
        tooLarge(size);
    }
    if (keep) {
        m_room -= size;
    }
    m_hashes.insert(name, hash.hex());
    if (evidence) {
        m_evidence.append(name.mid(ArchiveNames::kEvidenceFolder.size()));
        m_evidenceBytes += size;
    }
}

void ArchiveUnpack::checkManifest() const {
    QFile file(pathOf(ArchiveNames::kManifest));
    if (file.size() > kChunk * 64 || !file.open(QIODevice::ReadOnly)) {
        refuse(QStringLiteral("its %1 cannot be read.").arg(ArchiveNames::kManifest));
    }
    for (const QString& sha256 : m_evidence) {
        if (m_hashes.value(ArchiveNames::evidence(sha256)) != sha256) {
            refuse(QStringLiteral("the evidence file %1 does not have the SHA-256 its name gives.")
                       .arg(quoted(ArchiveNames::evidence(sha256))));
        }
    }
    static const QRegularExpression line(QStringLiteral("^([0-9a-f]{64})  (\\S.*)$"));
    QSet<QString> listed;
    int number = 0;
    for (const QByteArray& bytes : file.readAll().split('\n')) {
        ++number;
        if (bytes.isEmpty()) {
            continue;
        }
        const QRegularExpressionMatch match = line.match(QString::fromUtf8(bytes));
        if (!match.hasMatch()) {
            refuse(QStringLiteral("line %1 of its %2 cannot be read.")
                       .arg(number)
                       .arg(ArchiveNames::kManifest));
        }
        const QString name = match.captured(2);
        if (!m_hashes.contains(name) || name == ArchiveNames::kManifest) {
            refuse(QStringLiteral("its %1 names %2, which the archive does not hold.")
                       .arg(ArchiveNames::kManifest, quoted(name)));
        }
        if (listed.contains(name)) {
            refuse(QStringLiteral("its %1 names %2 twice.")
                       .arg(ArchiveNames::kManifest, quoted(name)));
        }
        listed.insert(name);
        if (m_hashes.value(name) != match.captured(1)) {
            refuse(QStringLiteral("the SHA-256 of %1 is not the one its %2 gives.")
                       .arg(quoted(name), ArchiveNames::kManifest));
        }
    }
    for (auto it = m_hashes.cbegin(); it != m_hashes.cend(); ++it) {
        if (it.key() != ArchiveNames::kManifest && !listed.contains(it.key())) {
            refuse(QStringLiteral("its %1 does not name the entry %2.")
                       .arg(ArchiveNames::kManifest, quoted(it.key())));
        }
    }
}

void ArchiveUnpack::checkDatabase() {
    const QString path = pathOf(ArchiveNames::kInventory);
    m_check = InventoryCheck::inspect(path);
    if (!m_check.ok) {
        refuse(QStringLiteral("its inventory is not sound. %1").arg(m_check.problem));
    }
    if (m_check.newerVersion) {
        refuse(QStringLiteral("its inventory was written by a newer version of Quorvane."));
    }
    // Every evidence file the inventory names must come with it.
    const QSet<QString> held(m_evidence.cbegin(), m_evidence.cend());
    for (const QString& sha256 : EvidenceNames::ofFile(path)) {
        if (!held.contains(sha256)) {
            refuse(QStringLiteral("its inventory names the evidence file %1, which the "
                                  "archive does not hold.")
                       .arg(sha256));
        }
    }
    m_check.evidenceFiles = m_evidence.size();
}

} // namespace Riri
