#pragma once

#include <QString>

// One interactive instance of the program per user: an advisory lock (flock)
// on a file in the user's runtime folder, held for the life of the process.
// Only a running process holds it; a file left behind, whatever it holds, is
// taken over.
namespace SingleInstance {

// The lock file's path.
QString lockPath();

// True when another process of the same user holds the lock. Otherwise this
// process takes it (if it does not hold it already) and keeps it until it
// ends.
bool anotherIsRunning();

// Gives the lock up (removing its file) if this process holds it. Every way
// out of the program calls it, also those that end the process at once.
void release();

} // namespace SingleInstance
