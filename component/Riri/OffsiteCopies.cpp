#include "OffsiteCopies.h"

#include "BackupArchive.h"
#include "ComponentFolder.h"
#include "DecryptingReader.h"
#include "EncryptingWriter.h"
#include "Error.h"
#include "ErrorNumbers.h"
#include "OffsiteHeader.h"
#include "SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <functional>
#include <optional>

namespace Riri {

namespace {

const QRegularExpression& copyPattern() {
    static const QRegularExpression pattern(
        QStringLiteral("^Quorvane-\\d{4}-\\d{2}-\\d{2}-\\d{6}(-\\d+)?\\.qvcrypt$"));
    return pattern;
}

[[noreturn]] void refuse() {
    throw Error(OffsiteCopies::kRefused, OffsiteCopies::refusedMessage());
}

QFile& openToRead(QFile& file) {
    if (!file.open(QIODevice::ReadOnly)) {
        throw Error(ErrorNumber::FileNotFound,
                    QStringLiteral("%1 cannot be read: %2")
                        .arg(QDir::toNativeSeparators(file.fileName()), file.errorString()));
    }
    return file;
}

// Runs an archive operation on the decrypted content of an open copy and
// requires the whole stream to have been read and found sound. A failure
// that the decryption caused is the one refusal, whatever the archive said.
InventoryCheck throughReader(DecryptingReader& reader,
                             const std::function<InventoryCheck(QIODevice&)>& operation) {
    if (!reader.open(QIODevice::ReadOnly)) {
        refuse();
    }
    InventoryCheck check;
    try {
        check = operation(reader);
    } catch (const Error& error) {
        if (reader.failed()) {
            refuse();
        }
        throw;
    }
    if (!reader.drain()) {
        refuse();
    }
    return check;
}

InventoryCheck decrypted(const QString& path, const OffsiteKey& key,
                         const std::function<InventoryCheck(QIODevice&)>& operation) {
    QFile file(path);
    DecryptingReader reader(openToRead(file), key);
    return throughReader(reader, operation);
}

// The key of a copy, derived from the passphrase with its header's salt and
// limits.
OffsiteKey keyOf(const QString& path, const QString& passphrase) {
    QFile file(path);
    const std::optional<OffsiteHeader> header =
        OffsiteHeader::parse(openToRead(file).read(OffsiteHeader::kSize));
    if (!header) {
        refuse();
    }
    return OffsiteKey::derive(passphrase, header->limits, header->salt);
}

[[noreturn]] void failWrite(const QString& folder, const QFile& file) {
    throw Error(ErrorNumber::PathFileAccess,
                QStringLiteral("The copy could not be written to %1: %2")
                    .arg(QDir::toNativeSeparators(folder), file.errorString()));
}

} // namespace

QString OffsiteCopies::refusedMessage() {
    return DecryptingReader::refusedMessage();
}

bool OffsiteCopies::isEncrypted(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) &&
           file.read(OffsiteHeader::kMagicBytes) ==
               QByteArray(OffsiteHeader::kMagic, OffsiteHeader::kMagicBytes);
}

QString OffsiteCopies::copyName(const QDateTime& made) {
    return QStringLiteral("Quorvane-") + made.toString(QStringLiteral("yyyy-MM-dd-HHmmss")) +
           QStringLiteral(".qvcrypt");
}

QStringList OffsiteCopies::list(const QString& folder) {
    QStringList copies;
    const QStringList names = QDir(folder).entryList(QDir::Files, QDir::Name | QDir::Reversed);
    for (const QString& name : names) {
        if (copyPattern().match(name).hasMatch()) {
            copies.append(QDir(folder).filePath(name));
        }
    }
    return copies;
}

QString OffsiteCopies::keyringKey() {
    return QStringLiteral("Off-site copies of ") + QDir(componentFolder()).absolutePath();
}

bool OffsiteCopies::opensNewest(const QString& folder, const QString& passphrase) {
    const QStringList copies = list(folder);
    if (copies.isEmpty()) {
        return true;
    }
    QFile file(copies.first());
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    DecryptingReader reader(file, passphrase);
    char first = 0;
    return reader.open(QIODevice::ReadOnly) && reader.read(&first, 1) >= 0 && !reader.failed();
}

QString OffsiteCopies::write(const QString& folder, const QString& passphrase, int keep,
                             const Progress& progress, InventoryCheck* check, const QDateTime& made,
                             const KeyLimits& limits) {
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        throw Error(
            ErrorNumber::PathNotFound,
            QStringLiteral("The folder %1 is not there.").arg(QDir::toNativeSeparators(folder)));
    }
    QString target = QDir(folder).filePath(copyName(made));
    for (int n = 2; QFileInfo::exists(target); ++n) {
        target = QDir(folder).filePath(copyName(made).replace(
            QStringLiteral(".qvcrypt"), QStringLiteral("-%1.qvcrypt").arg(n)));
    }
    const OffsiteKey key = OffsiteKey::derive(passphrase, limits);
    const QString temporary = SafeFile::makeTemporary(target);
    try {
        {
            QFile file(temporary);
            if (!file.open(QIODevice::WriteOnly)) {
                failWrite(folder, file);
            }
            EncryptingWriter writer(file, key);
            if (!writer.open(QIODevice::WriteOnly)) {
                failWrite(folder, file);
            }
            BackupArchive::write(writer, progress);
            if (!writer.finish() || !file.flush()) {
                failWrite(folder, file);
            }
            file.close();
        }
        SafeFile::syncFile(temporary);
        // Read back from the disk and checked in full before it gets its name.
        QFile file(temporary);
        DecryptingReader reader(openToRead(file), key);
        const InventoryCheck verified = throughReader(
            reader, [&progress](QIODevice& in) { return BackupArchive::verify(in, progress); });
        SafeFile::commit(temporary, target);
        if (check != nullptr) {
            *check = verified;
        }
    } catch (...) {
        SafeFile::discard(temporary);
        throw;
    }
    prune(folder, keep);
    return target;
}

InventoryCheck OffsiteCopies::verify(const QString& path, const QString& passphrase,
                                     const Progress& progress) {
    return decrypted(path, keyOf(path, passphrase),
                     [&progress](QIODevice& in) { return BackupArchive::verify(in, progress); });
}

InventoryCheck OffsiteCopies::restore(const QString& path, const QString& passphrase,
                                      const Progress& progress) {
    // Verified in full first: the archive's restore may stop reading before
    // the stream's end, and nothing may be replaced before the last chunk
    // is known to be sound.
    const OffsiteKey key = keyOf(path, passphrase);
    decrypted(path, key,
              [&progress](QIODevice& in) { return BackupArchive::verify(in, progress); });
    return decrypted(path, key,
                     [&progress](QIODevice& in) { return BackupArchive::restore(in, progress); });
}

void OffsiteCopies::prune(const QString& folder, int keep) {
    const QStringList copies = list(folder);
    for (qsizetype i = qMax(keep, 1); i < copies.size(); ++i) {
        QFile::remove(copies[i]);
    }
    // What a killed write left: encrypted, but of no use to anyone.
    const QDir dir(folder);
    const QStringList parts =
        dir.entryList({QStringLiteral(".Quorvane-*.qvcrypt.part-*")}, QDir::Files | QDir::Hidden);
    const QDateTime hourAgo = QDateTime::currentDateTime().addSecs(-3600);
    for (const QString& name : parts) {
        if (QFileInfo(dir.filePath(name)).lastModified() < hourAgo) {
            QFile::remove(dir.filePath(name));
        }
    }
}

} // namespace Riri
