#pragma once

#include <QString>

class frmMain;

// The Utils menu's commands that keep the inventory safe and move it in and
// out of spreadsheets: a verified backup, restoring one, and the CSV export
// and import. Each asks for its file through the file-dialog seam and tells
// the outcome through the message-box seam.
namespace InventoryCommands {

void backUpInventory(frmMain* main);
void restoreInventory(frmMain* main);
void exportItems(frmMain* main);
void importItems(frmMain* main);

// After the inventory changed under them: the open item and owner windows
// are closed and opened again, and open report previews are made anew, so
// every window shows the new content.
void reloadWindows(frmMain* main);

// The names the save dialogs propose, in the user's documents folder.
QString suggestedBackupPath();
QString suggestedExportPath();

} // namespace InventoryCommands
