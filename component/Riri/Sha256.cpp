#include "Sha256.h"

namespace Riri {

Sha256::Sha256() {
    crypto_hash_sha256_init(&m_state);
}

void Sha256::add(const char* data, qint64 size) {
    crypto_hash_sha256_update(&m_state, reinterpret_cast<const unsigned char*>(data),
                              static_cast<unsigned long long>(size));
}

QString Sha256::hex() {
    QByteArray digest(crypto_hash_sha256_BYTES, Qt::Uninitialized);
    crypto_hash_sha256_final(&m_state, reinterpret_cast<unsigned char*>(digest.data()));
    return QString::fromLatin1(digest.toHex());
}

} // namespace Riri
