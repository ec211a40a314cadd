#pragma once

#include "OffsiteKey.h"
#include "RiriExport.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <memory>
#include <optional>

namespace Riri {

// A read-only, sequential device that reads an encrypted copy from a source
// device and gives its plain content, chunk by chunk, each checked before a
// byte of it is given. A wrong passphrase, a changed byte anywhere, a
// stream cut short or bytes after its final chunk make reading fail (-1)
// with refusedMessage() as the error string.
class RIRI_EXPORT DecryptingReader : public QIODevice {
    Q_OBJECT
public:
    // The key derived from the passphrase with the header's salt and limits.
    DecryptingReader(QIODevice& source, const QString& passphrase);
    // A key already derived (its salt and limits are then not looked at).
    DecryptingReader(QIODevice& source, const OffsiteKey& key);
    ~DecryptingReader() override;

    // "The passphrase is wrong or the copy was changed."
    static QString refusedMessage();

    // Opens read-only: reads the header and derives the key. False (with
    // refusedMessage()) when the header is not one this program reads.
    bool open(OpenMode mode) override;
    bool isSequential() const override { return true; }
    bool atEnd() const override;
    qint64 bytesAvailable() const override;

    // Whether the final chunk was read and nothing follows it.
    bool complete() const { return m_complete; }
    // Whether the stream was refused.
    bool failed() const { return m_failed; }
    // Reads what is left and throws away its plain bytes; true when the
    // stream is complete and sound.
    bool drain();

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    bool pull();
    bool refuse();

    struct State;
    QIODevice& m_source;
    std::unique_ptr<State> m_state;
    std::optional<OffsiteKey> m_key;
    QString m_passphrase;
    QByteArray m_plain;
    qint64 m_plainAt = 0;
    QByteArray m_header;
    quint32 m_chunkSize = 0;
    bool m_first = true;
    bool m_complete = false;
    bool m_failed = false;
};

} // namespace Riri
