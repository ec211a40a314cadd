#pragma once

// Start-up's look at the inventory once the file is found: SQLite's quick
// check, and the daily automatic copy when one is due. A damaged inventory
// is never opened for writing: the user is told, with the date of the newest
// automatic copy, and may restore that copy. False when the program must end
// (the user declined, or nothing could be restored); the file is then left
// as it is. An inventory holding schema objects the program did not make
// counts as damaged; one written by a newer version is used for reading
// only, and the user is told so.
bool checkInventoryAtStartup();
