#pragma once

#include <QMessageBox>
#include <QString>

// Shows the program's message boxes on screen: a QMessageBox with the icon,
// the buttons and the default button the flags name, under the caption.
namespace MsgBoxPresenter {

// Makes the presenter the message-box handler of the program and the
// component.
void Install();

// Shows one box modally and returns the pressed button (vbOK, vbYes ...).
int Present(const QString& prompt, int flags, const QString& title);

// The box the presenter would show, not yet shown (for whoever needs to look
// at it before it runs).
QMessageBox* Make(const QString& prompt, int flags, const QString& title,
                  QWidget* parent = nullptr);

} // namespace MsgBoxPresenter
