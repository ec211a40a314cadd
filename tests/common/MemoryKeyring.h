#pragma once

#include "platform/Keyring.h"

#include <QMap>
#include <memory>

// Stands in for the desktop's keyring through its seam: keeps the secrets
// in a map the test can look at. Installs itself and puts the previous
// backend back when it goes.
class MemoryKeyring {
public:
    MemoryKeyring() {
        auto backend = std::make_unique<Backend>(m_secrets);
        m_previous = Keyring::setBackend(std::move(backend));
    }
    ~MemoryKeyring() { Keyring::setBackend(std::move(m_previous)); }
    MemoryKeyring(const MemoryKeyring&) = delete;
    MemoryKeyring& operator=(const MemoryKeyring&) = delete;

    QMap<QString, QString>& secrets() { return m_secrets; }

private:
    class Backend : public KeyringBackend {
    public:
        explicit Backend(QMap<QString, QString>& secrets) : m_secrets(secrets) {}
        std::optional<QString> read(const QString& key, QString* error) override {
            if (!m_secrets.contains(key)) {
                if (error != nullptr) {
                    *error = QStringLiteral("The entry was not found.");
                }
                return std::nullopt;
            }
            return m_secrets.value(key);
        }
        bool write(const QString& key, const QString& secret, QString*) override {
            m_secrets.insert(key, secret);
            return true;
        }
        bool remove(const QString& key, QString*) override {
            m_secrets.remove(key);
            return true;
        }

    private:
        QMap<QString, QString>& m_secrets;
    };

    QMap<QString, QString> m_secrets;
    std::unique_ptr<KeyringBackend> m_previous;
};
