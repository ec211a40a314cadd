#include "OffsiteSettings.h"

#include "ComponentFolder.h"

#include <QDir>
#include <QSettings>

namespace Riri {

namespace {

const QString kAtEnd = QStringLiteral("AtEndAfterChange");
const QString kOnRequest = QStringLiteral("OnRequest");

} // namespace

QString OffsiteSettings::filePath() {
    return QDir(componentFolder()).filePath(QStringLiteral("offsite.ini"));
}

OffsiteSettings OffsiteSettings::load() {
    const QSettings file(filePath(), QSettings::IniFormat);
    OffsiteSettings settings;
    settings.folder = file.value(QStringLiteral("Copies/Folder")).toString();
    settings.rememberPassphrase = file.value(QStringLiteral("Copies/Remember"), false).toBool();
    settings.schedule = file.value(QStringLiteral("Copies/Schedule")).toString() == kOnRequest
                            ? Schedule::OnRequest
                            : Schedule::AtEndAfterChange;
    settings.keep = qBound(1, file.value(QStringLiteral("Copies/Keep"), 7).toInt(), 999);
    settings.configured = file.value(QStringLiteral("Copies/Configured")).toDateTime();
    settings.lastCopy = file.value(QStringLiteral("State/LastCopy")).toDateTime();
    settings.lastAttempt = file.value(QStringLiteral("State/LastAttempt")).toDateTime();
    settings.lastFailed = file.value(QStringLiteral("State/LastFailed"), false).toBool();
    settings.failure = file.value(QStringLiteral("State/Failure")).toString();
    return settings;
}

void OffsiteSettings::save() const {
    QSettings file(filePath(), QSettings::IniFormat);
    file.setValue(QStringLiteral("Copies/Folder"), folder);
    file.setValue(QStringLiteral("Copies/Remember"), rememberPassphrase);
    file.setValue(QStringLiteral("Copies/Schedule"),
                  schedule == Schedule::OnRequest ? kOnRequest : kAtEnd);
    file.setValue(QStringLiteral("Copies/Keep"), keep);
    file.setValue(QStringLiteral("Copies/Configured"), configured);
    file.setValue(QStringLiteral("State/LastCopy"), lastCopy);
    file.setValue(QStringLiteral("State/LastAttempt"), lastAttempt);
    file.setValue(QStringLiteral("State/LastFailed"), lastFailed);
    file.setValue(QStringLiteral("State/Failure"), failure);
    file.sync();
}

void OffsiteSettings::recordCopy(const QDateTime& when) {
    OffsiteSettings settings = load();
    settings.lastCopy = when;
    settings.lastAttempt = when;
    settings.lastFailed = false;
    settings.failure.clear();
    settings.save();
}

void OffsiteSettings::recordFailure(const QDateTime& when, const QString& reason) {
    OffsiteSettings settings = load();
    settings.lastAttempt = when;
    settings.lastFailed = true;
    settings.failure = reason;
    settings.save();
}

} // namespace Riri
