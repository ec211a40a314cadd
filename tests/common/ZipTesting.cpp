#include "ZipTesting.h"

#include <QCryptographicHash>
#include <archive.h>
#include <archive_entry.h>

namespace {

la_ssize_t appendTo(archive*, void* bytes, const void* buffer, size_t length) {
    static_cast<QByteArray*>(bytes)->append(static_cast<const char*>(buffer), qsizetype(length));
    return la_ssize_t(length);
}

void writeEntry(archive* zip, const ZipEntry& item) {
    archive_entry* entry = archive_entry_new();
    archive_entry_set_pathname_utf8(entry, item.name.toUtf8().constData());
    archive_entry_set_perm(entry, 0644);
    switch (item.kind) {
    case ZipEntry::Kind::File:
        archive_entry_set_filetype(entry, AE_IFREG);
        archive_entry_set_size(entry, item.declaredSize < 0 || item.deflate ? item.data.size()
                                                                            : item.declaredSize);
        break;
    case ZipEntry::Kind::Directory:
        archive_entry_set_filetype(entry, AE_IFDIR);
        break;
    case ZipEntry::Kind::Symlink:
        archive_entry_set_filetype(entry, AE_IFLNK);
        archive_entry_set_symlink_utf8(entry, item.linkTarget.toUtf8().constData());
        break;
    }
    if (item.deflate) {
        archive_write_zip_set_compression_deflate(zip);
    } else {
        archive_write_zip_set_compression_store(zip);
    }
    archive_write_header(zip, entry);
    if (item.kind == ZipEntry::Kind::File) {
        archive_write_data(zip, item.data.constData(), size_t(item.data.size()));
    }
    archive_write_finish_entry(zip);
    archive_entry_free(entry);
}

} // namespace

QString sha256Hex(const QByteArray& bytes) {
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

QByteArray zipOf(const QList<ZipEntry>& entries) {
    QByteArray bytes;
    archive* zip = archive_write_new();
    archive_write_set_format_zip(zip);
    archive_write_set_bytes_per_block(zip, 0); // each header written at once
    archive_write_open(zip, &bytes, nullptr, &appendTo, nullptr);
    QList<std::pair<qsizetype, quint32>> lies;
    for (const ZipEntry& item : entries) {
        if (item.deflate && item.declaredSize >= 0) {
            lies.append({bytes.size(), quint32(item.declaredSize)});
        }
        writeEntry(zip, item);
    }
    archive_write_close(zip);
    archive_write_free(zip);
    // The uncompressed size in the local header, 22 bytes into it.
    for (const auto& [at, size] : lies) {
        for (int i = 0; i < 4; ++i) {
            bytes[at + 22 + i] = char(size >> (8 * i));
        }
    }
    return bytes;
}

QByteArray sha256Sums(const QList<ZipEntry>& entries) {
    QByteArray sums;
    for (const ZipEntry& item : entries) {
        if (item.kind == ZipEntry::Kind::File) {
            sums += sha256Hex(item.data).toLatin1() + "  " + item.name.toUtf8() + '\n';
        }
    }
    return sums;
}

QList<ZipEntry> backupEntries(const QByteArray& database, const QList<QByteArray>& evidence) {
    QList<ZipEntry> entries{{QStringLiteral("inventory.inv"), database}};
    for (const QByteArray& file : evidence) {
        entries.append({QStringLiteral("evidence/") + sha256Hex(file), file});
    }
    return entries;
}

QList<ZipEntry> withManifest(QList<ZipEntry> entries) {
    entries.append({QStringLiteral("SHA256SUMS"), sha256Sums(entries)});
    return entries;
}
