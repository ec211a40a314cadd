#include "OffsiteHeader.h"

#include <QtEndian>
#include <sodium.h>

namespace Riri {

namespace {

template <typename T> void put(QByteArray& out, T value) {
    char bytes[sizeof(T)];
    qToBigEndian(value, bytes);
    out.append(bytes, sizeof(T));
}

template <typename T> T take(const QByteArray& in, int& at) {
    const T value = qFromBigEndian<T>(in.constData() + at);
    at += static_cast<int>(sizeof(T));
    return value;
}

} // namespace

QByteArray OffsiteHeader::encode() const {
    static_assert(kStreamHeaderBytes == crypto_secretstream_xchacha20poly1305_HEADERBYTES);
    QByteArray out(kMagic, kMagicBytes);
    put<quint16>(out, version);
    put<quint16>(out, algorithm);
    put<quint64>(out, limits.ops);
    put<quint64>(out, limits.mem);
    put<quint32>(out, chunkSize);
    out.append(salt);
    out.append(streamHeader);
    return out;
}

std::optional<OffsiteHeader> OffsiteHeader::parse(const QByteArray& bytes) {
    if (bytes.size() != kSize || !bytes.startsWith(QByteArray(kMagic, kMagicBytes))) {
        return std::nullopt;
    }
    OffsiteHeader header;
    int at = kMagicBytes;
    header.version = take<quint16>(bytes, at);
    header.algorithm = take<quint16>(bytes, at);
    header.limits.ops = take<quint64>(bytes, at);
    header.limits.mem = take<quint64>(bytes, at);
    header.chunkSize = take<quint32>(bytes, at);
    header.salt = bytes.mid(at, OffsiteKey::kSaltBytes);
    at += OffsiteKey::kSaltBytes;
    header.streamHeader = bytes.mid(at, kStreamHeaderBytes);
    if (header.version != kVersion || header.algorithm != crypto_pwhash_ALG_ARGON2ID13 ||
        !header.limits.acceptable() || header.chunkSize == 0 || header.chunkSize > kMaxChunk) {
        return std::nullopt;
    }
    return header;
}

} // namespace Riri
