#pragma once

// The mouse pointer of the whole screen: busy (hourglass), the arrow, or the
// default, which leaves each window its own pointer.
namespace Pointer {

enum Shape { Default, Arrow, Busy };

void setScreen(Shape shape);

} // namespace Pointer
