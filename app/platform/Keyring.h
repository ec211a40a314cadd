#pragma once

#include "platform/KeyringBackend.h"

#include <QString>
#include <memory>
#include <optional>

// The desktop's keyring (the Secret Service through QtKeychain) behind one
// seam: the program keeps secrets there only when the user asked for it,
// and tests replace it with one that keeps them in memory. Each call waits
// for the keyring's answer in a local event loop.
namespace Keyring {

std::optional<QString> read(const QString& key, QString* error = nullptr);
bool write(const QString& key, const QString& secret, QString* error = nullptr);
bool remove(const QString& key, QString* error = nullptr);

// Installs a backend and returns the previous one; nullptr goes back to the
// desktop's keyring.
std::unique_ptr<KeyringBackend> setBackend(std::unique_ptr<KeyringBackend> backend);

} // namespace Keyring
