#include "ZipDirectory.h"

namespace Riri {

namespace {

// A central directory record: its signature, and where its fields lie.
constexpr char kRecord[] = "PK\x01\x02";
constexpr char kEnd[] = "PK\x05\x06";
constexpr char kEnd64[] = "PK\x06\x06";
constexpr qsizetype kFixedBytes = 46;
constexpr qsizetype kMadeByAt = 4;
constexpr qsizetype kNameLengthAt = 28;
constexpr qsizetype kExtraLengthAt = 30;
constexpr qsizetype kCommentLengthAt = 32;
constexpr qsizetype kExternalAt = 38;
// The system "version made by" names in its high byte.
constexpr int kUnix = 3;

quint32 little(const QByteArray& bytes, qsizetype at, int size) {
    quint32 value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value = value << 8 | quint8(bytes.at(at + i));
    }
    return value;
}

bool startsAt(const QByteArray& bytes, qsizetype at, const char* signature) {
    return bytes.size() - at >= 4 && bytes.mid(at, 4) == QByteArray(signature, 4);
}

} // namespace

std::optional<QList<ZipDirectory::Entry>> ZipDirectory::parse(const QByteArray& bytes) {
    QList<Entry> entries;
    qsizetype at = 0;
    while (startsAt(bytes, at, kRecord)) {
        if (bytes.size() - at < kFixedBytes) {
            return std::nullopt;
        }
        const qsizetype nameLength = little(bytes, at + kNameLengthAt, 2);
        const qsizetype length = kFixedBytes + nameLength + little(bytes, at + kExtraLengthAt, 2) +
                                 little(bytes, at + kCommentLengthAt, 2);
        if (bytes.size() - at < length) {
            return std::nullopt;
        }
        Entry entry{QString::fromUtf8(bytes.mid(at + kFixedBytes, nameLength)), std::nullopt};
        if (int(little(bytes, at + kMadeByAt, 2) >> 8) == kUnix) {
            entry.unixMode = little(bytes, at + kExternalAt, 4) >> 16;
        }
        entries.append(entry);
        at += length;
    }
    if (!startsAt(bytes, at, kEnd) && !startsAt(bytes, at, kEnd64)) {
        return std::nullopt;
    }
    return entries;
}

} // namespace Riri
