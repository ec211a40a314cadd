#pragma once

#include "platform/Twips.h"

#include <QtGlobal>

class QColor;
class QLabel;
class QPushButton;
class QString;
class QWidget;

// What the item and owner windows share beyond their fields: the caption of
// the windows that carry one, their push buttons, closing, and the frame they
// keep inside the main window.
namespace WindowParts {

// "Quorvane - 2.0": the program title, " - ", the major and the minor
// version; the caption of the add item, edit item and owner edit windows.
QString caption();

// A window's heading: a centred label in bold Verdana of the given size,
// in the given colour (the default text colour when it is invalid), placed
// in twips.
QLabel* heading(const QString& text, const QString& name, qreal points, const QColor& colour,
                QWidget* parent, const TwipsRect& rect);

// Asks whether the user wants to go on with another record (question icon,
// Yes and No, No the default); true for Yes.
bool askAnother(const QString& prompt, const QString& caption);

// A push button in Verdana 9.75 point bold on the light grey face, placed in
// twips. Enter on the focused button presses it, as Space does.
QPushButton* button(const QString& caption, const QString& name, QWidget* parent,
                    const TwipsRect& rect);

// Closes the window: the child window frame around it when it is shown as a
// child of the main window, the window itself otherwise.
void closeWindow(QWidget* window);

// The windows' layouts have a fixed size: once a window is put into a child
// window frame, the frame offers no maximize button and keeps its size, so
// neither dragging its border nor tiling stretches it around the layout.
void keepFrameFixed(QWidget* window);

} // namespace WindowParts
