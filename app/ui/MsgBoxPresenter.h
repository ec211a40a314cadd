#pragma once

#include <QString>

// Shows the program's message boxes on screen: a QMessageBox with the icon,
// the buttons and the default button the flags name, under the caption.
namespace MsgBoxPresenter {

// Makes the presenter the message-box handler of the program and the
// component.
void install();

// Shows one box modally and returns the pressed button (vbOK, vbYes ...).
int present(const QString& prompt, int flags, const QString& title);

} // namespace MsgBoxPresenter
