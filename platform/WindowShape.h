#pragma once
// Shaping and moving borderless windows.
class QWidget;

namespace platform {

// Clips the window to a rounded rectangle covering its client area, with
// corner ellipses of the given size, and repaints it. The region stays with
// the window from then on.
void applyRoundRegion(QWidget* window, int ellipseWidth, int ellipseHeight);

// Lets the window system move the window with the mouse, as a drag on a
// title bar would.
void startWindowDrag(QWidget* window);

} // namespace platform
