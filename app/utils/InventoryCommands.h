#pragma once

#include <Riri/ItemsCsv.h>

#include <QString>

class QWidget;

// The Utils menu's commands that keep the inventory safe and move it in and
// out of spreadsheets: a verified backup, restoring one, and the CSV export
// and import. Each asks for its file through the file-dialog seam and tells
// the outcome through the message-box seam. The backup and the restore run
// as long tasks (ui/LongTask.h): Cancel in their progress window leaves
// everything as it was, and says so.
namespace InventoryCommands {

// The dialogs open over parent. After a restore or an import changed the
// inventory, the inventory notice makes every open window show the new
// content before the outcome is told.
void backUpInventory(QWidget* parent);
void restoreInventory(QWidget* parent);
void exportItems(QWidget* parent);
void importItems(QWidget* parent);
// Utils, "Restore Automatic Copy...": the window of the automatic copies.
void restoreAutomaticCopy(QWidget* parent);

// The question asked before an import plan is stored: its counts and
// ". Import them?".
QString importQuestion(const Riri::ItemsCsv::ImportResult& plan);

// The names the save dialogs propose, in the folder of the last file of
// their kind (platform/DialogFolder.h).
QString suggestedBackupPath();
QString suggestedExportPath();

} // namespace InventoryCommands
