#include "cli/OffsiteCommandLine.h"

#include "cli/TerminalLines.h"
#include "cli/TerminalProgress.h"
#include "platform/Keyring.h"

#include <Riri/Error.h>
#include <Riri/InventoryCheck.h>
#include <Riri/OffsiteCopies.h>
#include <Riri/OffsiteSettings.h>

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace OffsiteCommandLine {

namespace {

constexpr int kFailed = 1;

using TerminalLines::complain;
using TerminalLines::say;

QString items(qint64 count) {
    return count == 1 ? QStringLiteral("1 item") : QStringLiteral("%1 items").arg(count);
}

// One line of standard input, without its line end; nothing at its end.
// A terminal is asked with a prompt and does not echo what is typed.
std::optional<QString> inputLine() {
    const bool terminal = ::isatty(STDIN_FILENO) == 1;
    termios saved{};
    if (terminal) {
        std::fputs("Passphrase: ", stderr);
        std::fflush(stderr);
        ::tcgetattr(STDIN_FILENO, &saved);
        termios quiet = saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSANOW, &quiet);
    }
    std::string line;
    bool any = false;
    for (int c = std::fgetc(stdin); c != EOF && c != '\n'; c = std::fgetc(stdin)) {
        line.push_back(static_cast<char>(c));
        any = true;
    }
    if (terminal) {
        ::tcsetattr(STDIN_FILENO, TCSANOW, &saved);
        std::fputs("\n", stderr);
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    const QString text = QString::fromStdString(line);
    std::fill(line.begin(), line.end(), '\0');
    if (!any || text.isEmpty()) {
        return std::nullopt;
    }
    return text;
}

} // namespace

std::optional<QString> passphrase() {
    const std::optional<QString> kept = Keyring::read(Riri::OffsiteCopies::keyringKey());
    if (kept && !kept->isEmpty()) {
        return kept;
    }
    return inputLine();
}

int writeCopy() {
    const Riri::OffsiteSettings settings = Riri::OffsiteSettings::load();
    if (!settings.isConfigured()) {
        complain(QStringLiteral("No folder is chosen for the off-site copies; choose one in Utils, "
                                "\"Off-site Copies...\"."));
        return kFailed;
    }
    if (!QFileInfo(settings.folder).isDir()) {
        complain(QStringLiteral("The folder %1 for the off-site copies is not there.")
                     .arg(QDir::toNativeSeparators(settings.folder)));
        return kFailed;
    }
    const std::optional<QString> secret = passphrase();
    if (!secret) {
        complain(QStringLiteral("No passphrase for the off-site copies: none is kept in the "
                                "keyring and none was given on standard input."));
        return kFailed;
    }
    const QDateTime started = QDateTime::currentDateTime();
    Riri::InventoryCheck check;
    QString path;
    try {
        TerminalProgress shown(QStringLiteral("Writing the off-site copy..."));
        path = Riri::OffsiteCopies::write(settings.folder, *secret, settings.keep, shown.progress(),
                                          &check, started);
    } catch (const Riri::Error& error) {
        Riri::OffsiteSettings::recordFailure(started, error.description());
        throw;
    }
    Riri::OffsiteSettings::recordCopy(started);
    say(QStringLiteral("Wrote the off-site copy %1 of %2.")
            .arg(QDir::toNativeSeparators(path), items(check.items)));
    return 0;
}

int restore(const QString& file) {
    const std::optional<QString> secret = passphrase();
    if (!secret) {
        complain(QStringLiteral("No passphrase for the encrypted copy: none is kept in the "
                                "keyring and none was given on standard input."));
        return kFailed;
    }
    Riri::InventoryCheck backup;
    {
        TerminalProgress shown(QStringLiteral("Restoring..."));
        backup = Riri::OffsiteCopies::restore(file, *secret, shown.progress());
    }
    say(QStringLiteral("Restored %1 from %2.")
            .arg(items(backup.items),
                 QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath())));
    return 0;
}

} // namespace OffsiteCommandLine
