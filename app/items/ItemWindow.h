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

// The windows' layouts have a fixed size: once a window is put into a child
// window frame, the frame offers no maximize button.
void KeepFrameFixed(QWidget* window);

} // namespace ItemWindow
