#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

struct evp_md_ctx_st;

namespace Riri {

// A SHA-256 computed as the bytes come, through OpenSSL's libcrypto, which
// uses the processor's SHA instructions where it has them: several times as
// fast as Qt's own or libsodium's, which counts when every byte of a backup
// or of a stored photo is hashed.
class Sha256 {
public:
    Sha256();
    void add(const char* data, qint64 size);
    void add(const QByteArray& bytes) { add(bytes.constData(), bytes.size()); }
    // The hash in lowercase hex, as the evidence store names its files. Ends
    // the computation.
    QString hex();

private:
    struct Free {
        void operator()(evp_md_ctx_st* context) const noexcept;
    };
    std::unique_ptr<evp_md_ctx_st, Free> m_context;
};

} // namespace Riri
