#pragma once

#include "platform/ProgramFolder.h"
#include "platform/Registry.h"

#include <Riri/dllHome.h>

#include <QPersistentModelIndex>
#include <QString>
#include <functional>
#include <memory>

class QWidget;

// Program-wide variables and the small routines several windows share.

// The one component object; each item and owner window replaces it when it
// loads. Released by EndProgram.
extern std::unique_ptr<Riri::dllHome> objHome;
// The record set being read by a record check or a list filling.
extern std::shared_ptr<Riri::Recordset> rsData;
// The list row being filled or read by the item lists (column 0 of the row).
extern QPersistentModelIndex itmData;

// Replaces objHome with a new component object (the old one is released first,
// so at most one exists).
void newHome();

// Closes rsData if it holds a set and releases it; never fails.
void CloseRecordset();

// Removes leading and trailing blanks (code 32 only) from every text box and
// rich-text box of the window, in the window's control order.
void TrimFields(QWidget& window);
// The text without leading and trailing blanks of code 32; tabs and line
// breaks stay.
QString trimBlanks(const QString& text);

// Waits until the clock reads more than n whole seconds after the start
// reading, keeping the windows responsive. Always returns true.
bool Pause(int seconds);

// Registers a step that releases what a part of the program holds (a data
// source and its connection); EndProgram runs the steps in the order they
// were registered, after it has unloaded the windows and before it releases
// objHome.
void onEndProgram(std::function<void()> release);

// Ends the program in order: closes files, unloads every window, releases the
// report data source and objHome, returns to the program folder, resets the
// pointer and ends the process at once.
[[noreturn]] void EndProgram();

unsigned int GetRootKey(bool classesRoot, bool currentConfig, bool currentUser, bool dynData,
                        bool localMachine, bool performanceData, bool users);
QString GetRegString(const QString& keyPath, const QString& valueName, bool classesRoot,
                     bool currentConfig, bool currentUser, bool dynData, bool localMachine,
                     bool performanceData, bool users, bool addSeparator);
