#include "Sha256.h"

#include <new>
#include <openssl/evp.h>

namespace Riri {

void Sha256::Free::operator()(evp_md_ctx_st* context) const noexcept {
    EVP_MD_CTX_free(context);
}

Sha256::Sha256() : m_context(EVP_MD_CTX_new()) {
    // Fails only without memory, or when the library's SHA-256 is disabled.
    if (!m_context || EVP_DigestInit_ex(m_context.get(), EVP_sha256(), nullptr) != 1) {
        throw std::bad_alloc();
    }
}

void Sha256::add(const char* data, qint64 size) {
    EVP_DigestUpdate(m_context.get(), data, static_cast<size_t>(size));
}

QString Sha256::hex() {
    QByteArray digest(EVP_MAX_MD_SIZE, Qt::Uninitialized);
    unsigned int length = 0;
    EVP_DigestFinal_ex(m_context.get(), reinterpret_cast<unsigned char*>(digest.data()), &length);
    digest.truncate(static_cast<qsizetype>(length));
    return QString::fromLatin1(digest.toHex());
}

} // namespace Riri
