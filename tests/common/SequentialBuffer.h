#pragma once

#include <QByteArray>
#include <QIODevice>

// A device over bytes in memory that can only be read or written in order,
// as a pipe or an encrypting stream is.
class SequentialBuffer : public QIODevice {
public:
    explicit SequentialBuffer(QByteArray bytes = {}) : m_bytes(std::move(bytes)) {}

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override {
        return m_bytes.size() - m_read + QIODevice::bytesAvailable();
    }
    const QByteArray& bytes() const { return m_bytes; }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        const qint64 n = qMin(maxSize, m_bytes.size() - m_read);
        std::copy_n(m_bytes.constData() + m_read, n, data);
        m_read += n;
        return n;
    }
    qint64 writeData(const char* data, qint64 size) override {
        m_bytes.append(data, size);
        return size;
    }

private:
    QByteArray m_bytes;
    qint64 m_read = 0;
};
