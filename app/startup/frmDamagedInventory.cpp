#include "startup/frmDamagedInventory.h"

#include "AppInfo.h"

#include <QAbstractButton>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>

namespace {

frmDamagedInventory::Handler& handler() {
    static frmDamagedInventory::Handler installed;
    return installed;
}

} // namespace

frmDamagedInventory::Choice frmDamagedInventory::ask(const Prompt& prompt, QWidget* parent) {
    if (handler()) {
        return handler()(prompt);
    }
    return show(prompt, parent);
}

frmDamagedInventory::Handler frmDamagedInventory::setHandler(Handler replacement) {
    Handler previous = std::move(handler());
    handler() = std::move(replacement);
    return previous;
}

QString frmDamagedInventory::message(const QString& path) {
    return QStringLiteral("The inventory file is damaged and cannot be used safely. It has been "
                          "left as it is at %1.")
        .arg(QDir::toNativeSeparators(path));
}

frmDamagedInventory::Choice frmDamagedInventory::show(const Prompt& prompt, QWidget* parent) {
    QMessageBox box(parent);
    box.setObjectName(QStringLiteral("frmDamagedInventory"));
    box.setWindowTitle(AppInfo::Title);
    box.setIcon(QMessageBox::Critical);
    box.setText(prompt.text);
    box.setInformativeText(QStringLiteral("What would you like to do?"));
    // QMessageBox names its own button "Show Details..." and keeps the
    // check's text behind it.
    box.setDetailedText(prompt.details);
    QPushButton* restore = nullptr;
    if (prompt.newestCopy.isValid()) {
        restore = box.addButton(
            QStringLiteral("Restore the Automatic Copy of %1").arg(prompt.newestCopyText),
            QMessageBox::AcceptRole);
    }
    QPushButton* choose =
        box.addButton(QStringLiteral("Choose a Backup File..."), QMessageBox::ActionRole);
    QPushButton* quit = box.addButton(QStringLiteral("Quit"), QMessageBox::RejectRole);
    box.setDefaultButton(restore != nullptr ? restore : choose);
    box.setEscapeButton(quit);
    box.exec();
    if (restore != nullptr && box.clickedButton() == restore) {
        return Choice::RestoreNewest;
    }
    if (box.clickedButton() == choose) {
        return Choice::ChooseBackup;
    }
    return Choice::Quit;
}
