#pragma once

class QMdiArea;
class QWidget;

// Where windows of their own appear on the screen.
namespace Placement {

// Moves the window so that its frame is centred in the available area of its
// screen (the primary screen while it has none). Call before the window is
// shown; a dialog placed this way is not moved over its parent afterwards.
void centreOnScreen(QWidget* window);

// Moves every child window of the area whose frame reaches past the area's
// right or bottom edge back inside it, as little as it takes; one larger than
// the area goes to the area's left or top edge, so that its title bar and its
// top-left part (where the windows keep their fields) are seen. Cascading
// places each child further down and to the right than the one before, past
// the visible area once a few are open.
void keepInside(QMdiArea* area);

} // namespace Placement
