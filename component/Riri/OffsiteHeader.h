#pragma once

#include "OffsiteKey.h"

#include <QByteArray>
#include <optional>

namespace Riri {

// The plain header in front of an encrypted copy, all numbers big-endian:
// the magic text (16 bytes), the format version (2), the key derivation's
// algorithm (2), its passes (8) and memory (8), the plain size of a chunk
// (4), the salt (16) and the secret stream's own header (24). The whole
// header is the additional data of the first chunk, so a changed byte of it
// fails that chunk's check.
struct OffsiteHeader {
    static constexpr char kMagic[] = "QUORVANE-QVCRYPT";
    static constexpr int kMagicBytes = 16;
    static constexpr quint16 kVersion = 1;
    static constexpr int kStreamHeaderBytes = 24;
    static constexpr int kSize =
        kMagicBytes + 2 + 2 + 8 + 8 + 4 + OffsiteKey::kSaltBytes + kStreamHeaderBytes;
    // The largest chunk a reader accepts.
    static constexpr quint32 kMaxChunk = 4u << 20;

    quint16 version = kVersion;
    quint16 algorithm = 0;
    KeyLimits limits;
    quint32 chunkSize = 0;
    QByteArray salt;
    QByteArray streamHeader;

    QByteArray encode() const;
    // The header read from its kSize bytes; nothing when the bytes are no
    // header this program can read.
    static std::optional<OffsiteHeader> parse(const QByteArray& bytes);
};

} // namespace Riri
