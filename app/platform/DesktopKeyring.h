#pragma once

#include "platform/KeyringBackend.h"

// The desktop's keyring through QtKeychain, under the service "Quorvane".
class DesktopKeyring : public KeyringBackend {
public:
    std::optional<QString> read(const QString& key, QString* error) override;
    bool write(const QString& key, const QString& secret, QString* error) override;
    bool remove(const QString& key, QString* error) override;
};
