#pragma once

class QString;
class QWidget;

// Helpers the item windows share.
namespace ItemWindow {

// Closes the window: the child window frame around it when it is shown as a
// child of the main window, the window itself otherwise.
void Close(QWidget* window);

// "Quorvane - 2.0" for the add and edit windows.
QString EditCaption();

} // namespace ItemWindow
