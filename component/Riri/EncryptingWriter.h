#pragma once

#include "OffsiteKey.h"
#include "RiriExport.h"

#include <QByteArray>
#include <QIODevice>
#include <memory>

namespace Riri {

// A write-only, sequential device that encrypts what is written to it into
// a target device: the plain header, then chunks of libsodium's secret
// stream (XChaCha20-Poly1305) of chunkSize plain bytes each, the last one
// tagged final. Nothing plain reaches the target. finish() (or close())
// writes the last chunk; a stream that was never finished reads as
// truncated.
class RIRI_EXPORT EncryptingWriter : public QIODevice {
    Q_OBJECT
public:
    static constexpr int kChunkSize = 64 * 1024;

    EncryptingWriter(QIODevice& target, const OffsiteKey& key, int chunkSize = kChunkSize);
    ~EncryptingWriter() override;

    // Opens write-only and writes the header to the target; false when the
    // target does not take it.
    bool open(OpenMode mode) override;
    bool isSequential() const override { return true; }
    // Writes what is buffered as the final chunk; false when the target did
    // not take it. Called by close().
    bool finish();
    void close() override;

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    bool push(bool final);

    struct State;
    QIODevice& m_target;
    std::unique_ptr<State> m_state;
    QByteArray m_plain;
    QByteArray m_header;
    int m_chunkSize;
    bool m_first = true;
    bool m_finished = false;
    bool m_failed = false;
};

} // namespace Riri
