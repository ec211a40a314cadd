#include "EncryptingWriter.h"

#include "OffsiteHeader.h"
#include "SodiumInit.h"

#include <sodium.h>

namespace Riri {

struct EncryptingWriter::State {
    crypto_secretstream_xchacha20poly1305_state stream{};
    ~State() { sodium_memzero(&stream, sizeof stream); }
};

EncryptingWriter::EncryptingWriter(QIODevice& target, const OffsiteKey& key, int chunkSize)
    : m_target(target), m_state(std::make_unique<State>()),
      m_chunkSize(qBound(1, chunkSize, static_cast<int>(OffsiteHeader::kMaxChunk))) {
    requireSodium();
    OffsiteHeader header;
    header.algorithm = crypto_pwhash_ALG_ARGON2ID13;
    header.limits = key.limits();
    header.chunkSize = static_cast<quint32>(m_chunkSize);
    header.salt = key.salt();
    header.streamHeader.resize(OffsiteHeader::kStreamHeaderBytes);
    crypto_secretstream_xchacha20poly1305_init_push(
        &m_state->stream, reinterpret_cast<unsigned char*>(header.streamHeader.data()),
        key.bytes());
    m_header = header.encode();
    m_plain.reserve(m_chunkSize);
}

EncryptingWriter::~EncryptingWriter() {
    if (!m_plain.isEmpty()) {
        sodium_memzero(m_plain.data(), static_cast<size_t>(m_plain.size()));
    }
}

bool EncryptingWriter::open(OpenMode mode) {
    if ((mode & ReadOnly) != 0 || !QIODevice::open(mode | Unbuffered)) {
        return false;
    }
    if (m_target.write(m_header) != m_header.size()) {
        m_failed = true;
        setErrorString(m_target.errorString());
        QIODevice::close();
        return false;
    }
    return true;
}

bool EncryptingWriter::push(bool final) {
    QByteArray sealed(
        m_plain.size() + static_cast<int>(crypto_secretstream_xchacha20poly1305_ABYTES), '\0');
    const auto* extra =
        m_first ? reinterpret_cast<const unsigned char*>(m_header.constData()) : nullptr;
    const unsigned long long extraSize =
        m_first ? static_cast<unsigned long long>(m_header.size()) : 0;
    crypto_secretstream_xchacha20poly1305_push(
        &m_state->stream, reinterpret_cast<unsigned char*>(sealed.data()), nullptr,
        reinterpret_cast<const unsigned char*>(m_plain.constData()),
        static_cast<unsigned long long>(m_plain.size()), extra, extraSize,
        final ? crypto_secretstream_xchacha20poly1305_TAG_FINAL
              : crypto_secretstream_xchacha20poly1305_TAG_MESSAGE);
    m_first = false;
    sodium_memzero(m_plain.data(), static_cast<size_t>(m_plain.size()));
    m_plain.resize(0);
    if (m_target.write(sealed) != sealed.size()) {
        m_failed = true;
        setErrorString(m_target.errorString());
        return false;
    }
    return true;
}

qint64 EncryptingWriter::writeData(const char* data, qint64 size) {
    if (m_failed || m_finished) {
        return -1;
    }
    qint64 taken = 0;
    while (taken < size) {
        // A full chunk is sealed only once more bytes follow, so that the
        // last chunk, full or not, is the one finish() tags final.
        if (m_plain.size() == m_chunkSize && !push(false)) {
            return -1;
        }
        const qint64 part = qMin<qint64>(m_chunkSize - m_plain.size(), size - taken);
        m_plain.append(data + taken, static_cast<qsizetype>(part));
        taken += part;
    }
    return taken;
}

bool EncryptingWriter::finish() {
    if (m_finished) {
        return !m_failed;
    }
    m_finished = true;
    if (!isOpen() || m_failed) {
        return false;
    }
    return push(true);
}

void EncryptingWriter::close() {
    finish();
    QIODevice::close();
}

qint64 EncryptingWriter::readData(char* /*data*/, qint64 /*maxSize*/) {
    return -1;
}

} // namespace Riri
