#include "DecryptingReader.h"

#include "OffsiteHeader.h"
#include "SodiumInit.h"

#include <sodium.h>

namespace Riri {

namespace {

constexpr qint64 kTagBytes = crypto_secretstream_xchacha20poly1305_ABYTES;

// Reads up to size bytes, as many as the source gives before its end.
QByteArray readFully(QIODevice& source, qint64 size) {
    QByteArray bytes(static_cast<qsizetype>(size), '\0');
    qint64 got = 0;
    while (got < size) {
        const qint64 part = source.read(bytes.data() + got, size - got);
        if (part <= 0) {
            break;
        }
        got += part;
    }
    bytes.resize(static_cast<qsizetype>(got));
    return bytes;
}

} // namespace

struct DecryptingReader::State {
    crypto_secretstream_xchacha20poly1305_state stream{};
    ~State() { sodium_memzero(&stream, sizeof stream); }
};

DecryptingReader::DecryptingReader(QIODevice& source, const QString& passphrase)
    : m_source(source), m_state(std::make_unique<State>()), m_passphrase(passphrase) {}

DecryptingReader::DecryptingReader(QIODevice& source, const OffsiteKey& key)
    : m_source(source), m_state(std::make_unique<State>()), m_key(key) {}

DecryptingReader::~DecryptingReader() {
    if (!m_plain.isEmpty()) {
        sodium_memzero(m_plain.data(), static_cast<size_t>(m_plain.size()));
    }
}

QString DecryptingReader::refusedMessage() {
    return QStringLiteral("The passphrase is wrong or the copy was changed.");
}

bool DecryptingReader::refuse() {
    m_failed = true;
    setErrorString(refusedMessage());
    return false;
}

bool DecryptingReader::open(OpenMode mode) {
    if ((mode & WriteOnly) != 0 || !QIODevice::open(mode | Unbuffered)) {
        return false;
    }
    requireSodium();
    m_header = readFully(m_source, OffsiteHeader::kSize);
    const std::optional<OffsiteHeader> header = OffsiteHeader::parse(m_header);
    if (!header) {
        return refuse();
    }
    m_chunkSize = header->chunkSize;
    if (!m_key) {
        m_key = OffsiteKey::derive(m_passphrase, header->limits, header->salt);
        m_passphrase.fill(QLatin1Char('\0'));
        m_passphrase.clear();
    }
    if (crypto_secretstream_xchacha20poly1305_init_pull(
            &m_state->stream,
            reinterpret_cast<const unsigned char*>(header->streamHeader.constData()),
            m_key->bytes()) != 0) {
        return refuse();
    }
    return true;
}

bool DecryptingReader::pull() {
    const QByteArray sealed = readFully(m_source, m_chunkSize + kTagBytes);
    if (sealed.size() < kTagBytes) {
        // Cut short: the final chunk never came.
        return refuse();
    }
    if (!m_plain.isEmpty()) {
        sodium_memzero(m_plain.data(), static_cast<size_t>(m_plain.size()));
    }
    m_plain.resize(sealed.size() - kTagBytes);
    m_plainAt = 0;
    unsigned char tag = 0;
    const auto* extra =
        m_first ? reinterpret_cast<const unsigned char*>(m_header.constData()) : nullptr;
    const unsigned long long extraSize =
        m_first ? static_cast<unsigned long long>(m_header.size()) : 0;
    m_first = false;
    if (crypto_secretstream_xchacha20poly1305_pull(
            &m_state->stream, reinterpret_cast<unsigned char*>(m_plain.data()), nullptr, &tag,
            reinterpret_cast<const unsigned char*>(sealed.constData()),
            static_cast<unsigned long long>(sealed.size()), extra, extraSize) != 0) {
        m_plain.clear();
        return refuse();
    }
    if (tag == crypto_secretstream_xchacha20poly1305_TAG_FINAL) {
        // Nothing may follow the final chunk.
        if (!readFully(m_source, 1).isEmpty()) {
            m_plain.clear();
            return refuse();
        }
        m_complete = true;
        return true;
    }
    if (tag != crypto_secretstream_xchacha20poly1305_TAG_MESSAGE ||
        sealed.size() != m_chunkSize + kTagBytes) {
        // An ordinary chunk is always full; a short one means the stream
        // was cut.
        m_plain.clear();
        return refuse();
    }
    return true;
}

qint64 DecryptingReader::readData(char* data, qint64 maxSize) {
    if (m_failed) {
        return -1;
    }
    qint64 given = 0;
    while (given < maxSize) {
        if (m_plainAt == m_plain.size()) {
            if (m_complete) {
                break;
            }
            if (!pull()) {
                return -1;
            }
            continue;
        }
        const qint64 part = qMin(maxSize - given, m_plain.size() - m_plainAt);
        memcpy(data + given, m_plain.constData() + m_plainAt, static_cast<size_t>(part));
        m_plainAt += part;
        given += part;
    }
    return given;
}

bool DecryptingReader::atEnd() const {
    return m_failed || (m_complete && m_plainAt == m_plain.size());
}

qint64 DecryptingReader::bytesAvailable() const {
    return m_plain.size() - m_plainAt + QIODevice::bytesAvailable();
}

bool DecryptingReader::drain() {
    char buffer[16384];
    while (!m_failed && !atEnd()) {
        if (read(buffer, sizeof buffer) < 0) {
            break;
        }
    }
    sodium_memzero(buffer, sizeof buffer);
    return m_complete && !m_failed;
}

qint64 DecryptingReader::writeData(const char* /*data*/, qint64 /*size*/) {
    return -1;
}

} // namespace Riri
