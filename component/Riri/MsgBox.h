#pragma once

#include "RiriExport.h"

#include <QString>
#include <functional>

namespace Riri {

// Flags of a message box: one button set, one icon and one default button, added together.
enum MsgBoxFlag : int {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbAbortRetryIgnore = 2,
    vbYesNoCancel = 3,
    vbYesNo = 4,
    vbRetryCancel = 5,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
    vbDefaultButton1 = 0,
    vbDefaultButton2 = 256,
    vbDefaultButton3 = 512,
};

// The button that closed a message box.
enum MsgBoxResult : int {
    vbOK = 1,
    vbCancel = 2,
    vbAbort = 3,
    vbRetry = 4,
    vbIgnore = 5,
    vbYes = 6,
    vbNo = 7,
};

constexpr int kButtonMask = 0x0F;
constexpr int kIconMask = 0xF0;
constexpr int kDefaultMask = 0xF00;

// Shows a message box and returns the pressed button. Every message box of the
// program and of the component goes through this one function; the program
// installs the presenter that shows it on screen, tests install a responder.
using MsgBoxHandler = std::function<int(const QString& prompt, int flags, const QString& title)>;

RIRI_EXPORT int MsgBox(const QString& prompt, int flags, const QString& title);

// Installs a new handler and returns the previous one. An empty handler
// restores the built-in one, which shows nothing, writes the box to the
// standard error stream and answers with the box's default button.
RIRI_EXPORT MsgBoxHandler setMsgBoxHandler(MsgBoxHandler handler);

// The answer a box gives when its default button is pressed.
RIRI_EXPORT int defaultAnswer(int flags);

} // namespace Riri
