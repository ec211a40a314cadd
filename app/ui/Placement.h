#pragma once

class QWidget;

// Where windows of their own appear on the screen.
namespace Placement {

// Moves the window so that its frame is centred in the available area of its
// screen (the primary screen while it has none). Call before the window is
// shown; a dialog placed this way is not moved over its parent afterwards.
void centreOnScreen(QWidget* window);

} // namespace Placement
