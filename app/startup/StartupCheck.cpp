#include "startup/StartupCheck.h"

#include "AppInfo.h"
#include "platform/Pointer.h"

#include <Riri/AutoBackups.h>
#include <Riri/Error.h>
#include <Riri/Formats.h>
#include <Riri/InventoryCheck.h>
#include <Riri/InventoryCopy.h>
#include <Riri/InventorySchema.h>
#include <Riri/MsgBox.h>

#include <QDir>
#include <QLocale>

namespace {

QString shownTime(const QDateTime& when) {
    const QLocale locale;
    return when.toString(Riri::shortDateFormat(locale) + QLatin1Char(' ') +
                         Riri::timeFormat(locale));
}

} // namespace

bool checkInventoryAtStartup() {
    Pointer::setScreen(Pointer::Busy);
    const Riri::InventoryCheck check =
        Riri::InventoryCheck::quickCheck(Riri::InventoryCopy::databasePath());
    if (check.ok) {
        Riri::AutoBackups::makeDailyIfDue();
        if (check.newerVersion) {
            // Read, never altered: every writer of the component refuses.
            Pointer::setScreen(Pointer::Default);
            Riri::MsgBox(Riri::InventorySchema::newerVersionMessage(),
                         Riri::vbExclamation | Riri::vbOKOnly, AppInfo::Title);
        }
        return true;
    }
    QDateTime made;
    const QString newest = Riri::AutoBackups::newest(&made);
    Pointer::setScreen(Pointer::Default);
    const QString damaged =
        QStringLiteral("The inventory database is damaged and cannot be used.\r\n\r\n%1\r\n\r\n")
            .arg(check.problem);
    if (newest.isEmpty()) {
        Riri::MsgBox(damaged + QStringLiteral("There is no automatic copy to restore. The program "
                                              "ends and leaves the file as it is. "),
                     Riri::vbCritical | Riri::vbOKOnly, AppInfo::Title);
        return false;
    }
    const QString question =
        damaged + QStringLiteral("Restore the newest automatic copy, made %1?\r\n\r\n"
                                 "No ends the program and leaves the file as it is. ")
                      .arg(shownTime(made));
    if (Riri::MsgBox(question, Riri::vbQuestion | Riri::vbYesNo | Riri::vbDefaultButton2,
                     AppInfo::Title) != Riri::vbYes) {
        return false;
    }
    Pointer::setScreen(Pointer::Busy);
    try {
        const Riri::InventoryCheck restored = Riri::InventoryCopy::restore(newest);
        Pointer::setScreen(Pointer::Default);
        Riri::MsgBox(QStringLiteral("The inventory was restored from the automatic copy made "
                                    "%1. It holds %2 items. ")
                         .arg(shownTime(made))
                         .arg(restored.items),
                     Riri::vbInformation | Riri::vbOKOnly, AppInfo::Title);
        return true;
    } catch (const Riri::Error& error) {
        Pointer::setScreen(Pointer::Default);
        Riri::MsgBox(
            QStringLiteral("The inventory was NOT restored.\r\n\r\n%1 ").arg(error.description()),
            Riri::vbCritical | Riri::vbOKOnly, AppInfo::Title);
        return false;
    }
}
