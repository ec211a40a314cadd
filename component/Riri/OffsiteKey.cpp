#include "OffsiteKey.h"

#include "Error.h"
#include "ErrorNumbers.h"
#include "SodiumInit.h"

#include <sodium.h>

namespace Riri {

KeyLimits KeyLimits::moderate() {
    return {crypto_pwhash_OPSLIMIT_MODERATE, crypto_pwhash_MEMLIMIT_MODERATE};
}

KeyLimits KeyLimits::minimal() {
    return {crypto_pwhash_OPSLIMIT_MIN, crypto_pwhash_MEMLIMIT_MIN};
}

bool KeyLimits::acceptable() const {
    return ops >= crypto_pwhash_OPSLIMIT_MIN && ops <= crypto_pwhash_OPSLIMIT_SENSITIVE &&
           mem >= crypto_pwhash_MEMLIMIT_MIN && mem <= crypto_pwhash_MEMLIMIT_SENSITIVE;
}

QByteArray OffsiteKey::newSalt() {
    requireSodium();
    QByteArray salt(kSaltBytes, '\0');
    randombytes_buf(salt.data(), static_cast<size_t>(salt.size()));
    return salt;
}

OffsiteKey OffsiteKey::derive(const QString& passphrase, const KeyLimits& limits,
                              const QByteArray& salt) {
    static_assert(kSaltBytes == crypto_pwhash_SALTBYTES);
    requireSodium();
    OffsiteKey key;
    key.m_salt = salt.isEmpty() ? newSalt() : salt;
    key.m_limits = limits;
    if (key.m_salt.size() != kSaltBytes || !limits.acceptable()) {
        throw Error(ErrorNumber::Unexpected, QStringLiteral("The key limits are not usable."));
    }
    QByteArray secret = passphrase.toUtf8();
    const int result =
        crypto_pwhash(key.m_key.data(), key.m_key.size(), secret.constData(),
                      static_cast<unsigned long long>(secret.size()),
                      reinterpret_cast<const unsigned char*>(key.m_salt.constData()), limits.ops,
                      static_cast<size_t>(limits.mem), crypto_pwhash_ALG_ARGON2ID13);
    sodium_memzero(secret.data(), static_cast<size_t>(secret.size()));
    if (result != 0) {
        throw Error(ErrorNumber::Unexpected,
                    QStringLiteral("There is not enough memory to derive the key."));
    }
    return key;
}

OffsiteKey::OffsiteKey(const OffsiteKey& other)
    : m_key(other.m_key), m_salt(other.m_salt), m_limits(other.m_limits) {}

OffsiteKey& OffsiteKey::operator=(const OffsiteKey& other) {
    m_key = other.m_key;
    m_salt = other.m_salt;
    m_limits = other.m_limits;
    return *this;
}

OffsiteKey::~OffsiteKey() {
    sodium_memzero(m_key.data(), m_key.size());
}

} // namespace Riri
