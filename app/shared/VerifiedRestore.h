#pragma once

#include <QString>

class QWidget;

// The one verified restore of the inventory, whichever way the user comes
// to it (Utils, "Restore Inventory..." and "Restore Automatic Copy...", the
// damaged inventory at start-up): the file is checked, the restore command's
// Yes/No question asked, the inventory replaced through the component,
// the inventory notice sent and the outcome told.
namespace VerifiedRestore {

// Asks for a backup file to restore, in the folder of the last backup file;
// an empty text when the user cancels.
QString chooseBackup(QWidget* parent);

// AlreadyChosen leaves the question out: the user chose to restore this
// very file a moment ago. True when the inventory was replaced.
enum class Confirm { Ask, AlreadyChosen };
bool restoreFrom(const QString& path, Confirm confirm);

} // namespace VerifiedRestore
