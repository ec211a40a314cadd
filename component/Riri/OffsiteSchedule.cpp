#include "OffsiteSchedule.h"

#include "InventoryCopy.h"

#include <QDir>
#include <QFileInfo>

namespace Riri {

namespace {

bool changedSinceLastCopy(const OffsiteSettings& settings, const QDateTime& changed) {
    return !settings.lastCopy.isValid() || (changed.isValid() && changed > settings.lastCopy);
}

} // namespace

bool OffsiteSchedule::dueAtEnd(const OffsiteSettings& settings, const QDateTime& changed,
                               const QDateTime& now) {
    if (!settings.isConfigured() ||
        settings.schedule != OffsiteSettings::Schedule::AtEndAfterChange) {
        return false;
    }
    if (!changedSinceLastCopy(settings, changed)) {
        return false;
    }
    return !settings.lastCopy.isValid() || settings.lastCopy.date() != now.date();
}

QString OffsiteSchedule::notice(const OffsiteSettings& settings, const QDateTime& changed,
                                const QDateTime& now, bool folderPresent) {
    if (!settings.isConfigured()) {
        return {};
    }
    const QString folder = QDir::toNativeSeparators(settings.folder);
    if (settings.lastFailed) {
        return QStringLiteral("The last off-site copy could not be written: %1")
            .arg(settings.failure);
    }
    if (settings.schedule != OffsiteSettings::Schedule::AtEndAfterChange ||
        !changedSinceLastCopy(settings, changed)) {
        return {};
    }
    const QDateTime since = settings.lastCopy.isValid() ? settings.lastCopy : settings.configured;
    if (!since.isValid() || since.secsTo(now) <= 2 * kIntervalSecs) {
        return {};
    }
    QString text = settings.lastCopy.isValid()
                       ? QStringLiteral("The newest off-site copy is %1 days old.")
                             .arg(settings.lastCopy.daysTo(now))
                       : QStringLiteral("No off-site copy has been written yet.");
    if (!folderPresent) {
        text += QStringLiteral(" The folder %1 is not there.").arg(folder);
    }
    return text;
}

QDateTime OffsiteSchedule::inventoryChanged() {
    return QFileInfo(InventoryCopy::databasePath()).lastModified();
}

} // namespace Riri
