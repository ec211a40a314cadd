#include "platform/Keyring.h"

#include "platform/DesktopKeyring.h"

namespace Keyring {

namespace {

std::unique_ptr<KeyringBackend>& backend() {
    static std::unique_ptr<KeyringBackend> current = std::make_unique<DesktopKeyring>();
    return current;
}

} // namespace

std::optional<QString> read(const QString& key, QString* error) {
    return backend()->read(key, error);
}

bool write(const QString& key, const QString& secret, QString* error) {
    return backend()->write(key, secret, error);
}

bool remove(const QString& key, QString* error) {
    return backend()->remove(key, error);
}

std::unique_ptr<KeyringBackend> setBackend(std::unique_ptr<KeyringBackend> replacement) {
    std::unique_ptr<KeyringBackend> previous = std::move(backend());
    backend() = replacement ? std::move(replacement) : std::make_unique<DesktopKeyring>();
    return previous;
}

} // namespace Keyring
