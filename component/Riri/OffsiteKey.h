#pragma once

#include "RiriExport.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <array>

namespace Riri {

// How hard the key derivation works: Argon2id's passes and memory in bytes.
struct RIRI_EXPORT KeyLimits {
    quint64 ops = 0;
    quint64 mem = 0;

    // libsodium's moderate limits: what every copy is written with.
    static KeyLimits moderate();
    // The smallest limits libsodium takes; for tests that derive many keys.
    static KeyLimits minimal();
    // Whether a reader accepts these limits from a copy's header: within
    // libsodium's own bounds, up to its sensitive limits.
    bool acceptable() const;
};

// The key of an encrypted copy, derived from a passphrase with Argon2id
// (crypto_pwhash) and a random salt, with the salt and the limits it was
// derived with. The key bytes are wiped when the object goes.
class RIRI_EXPORT OffsiteKey {
public:
    static constexpr int kSaltBytes = 16;
    static constexpr int kKeyBytes = 32;

    // Derives the key; a salt of kSaltBytes random bytes when none is given.
    // Throws Riri::Error when the derivation fails (out of memory).
    static OffsiteKey derive(const QString& passphrase, const KeyLimits& limits,
                             const QByteArray& salt = QByteArray());
    // kSaltBytes random bytes.
    static QByteArray newSalt();

    OffsiteKey(const OffsiteKey& other);
    OffsiteKey& operator=(const OffsiteKey& other);
    ~OffsiteKey();

    const unsigned char* bytes() const { return m_key.data(); }
    const QByteArray& salt() const { return m_salt; }
    const KeyLimits& limits() const { return m_limits; }

private:
    OffsiteKey() = default;

    std::array<unsigned char, kKeyBytes> m_key{};
    QByteArray m_salt;
    KeyLimits m_limits;
};

} // namespace Riri
