#pragma once

#include <QString>
#include <optional>

// Where the keyring seam keeps secrets: the desktop's keyring in the
// program, an in-memory one in tests.
class KeyringBackend {
public:
    virtual ~KeyringBackend() = default;

    // The secret kept under the key; nothing when there is none or the
    // keyring cannot be reached (error then says why).
    virtual std::optional<QString> read(const QString& key, QString* error) = 0;
    // False (with error) when the keyring does not take it.
    virtual bool write(const QString& key, const QString& secret, QString* error) = 0;
    // Removes the secret; true when none is kept under the key afterwards.
    virtual bool remove(const QString& key, QString* error) = 0;
};
