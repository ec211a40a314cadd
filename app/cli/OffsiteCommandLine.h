#pragma once

#include <QString>
#include <optional>

// The off-site copies on the command line: a copy written now with the
// saved settings (for a timer of the user's system), and the restore of an
// encrypted copy. The passphrase comes from the desktop's keyring, else from
// standard input (not echoed when that is a terminal). Both return the
// process's exit status and print as the other commands do.
namespace OffsiteCommandLine {

int writeCopy();
int restore(const QString& file);

// The passphrase: the keyring's, else one line of standard input; nothing
// when neither gives one.
std::optional<QString> passphrase();

} // namespace OffsiteCommandLine
