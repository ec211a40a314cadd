#pragma once

#include <QString>

// The installation folder: the folder that holds the program file, unless a
// host (the test suite) set another one. Every read-only file the program
// ships (help, pictures, the about text) is found below it.
QString programFolder();
void setProgramFolder(const QString& folder);
