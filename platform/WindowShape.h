#pragma once
// Shaping and moving borderless windows.
#include <QObject>
#include <QPoint>
#include <QPointer>

class QMouseEvent;
class QWidget;

namespace platform {

// Clips the window to a rounded rectangle covering its client area, with
// corner ellipses of the given size, and repaints it. The region stays with
// the window from then on.
void applyRoundRegion(QWidget* window, int ellipseWidth, int ellipseHeight);

// The window system's own move of a window, as a drag on a title bar does.
class WindowMover {
public:
    virtual ~WindowMover() = default;
    // Asks the window system to move the window with the mouse until the
    // button is released. False when it refuses: the offscreen platform and
    // window managers without _NET_WM_MOVERESIZE do.
    virtual bool startSystemMove(QWidget* window) = 0;
};

class SystemWindowMover : public WindowMover {
public:
    bool startSystemMove(QWidget* window) override;
};

// Drags a borderless window by presses on its own surface. The window system
// moves it where it can; where it refuses, the window follows the mouse until
// the left button is released.
class WindowDragger : public QObject {
public:
    explicit WindowDragger(QWidget* window);

    // A press that landed on the window's own surface (not on a child that
    // takes the mouse itself). Only the left button drags.
    void press(const QMouseEvent* event);
    // True while the window follows the mouse by itself.
    bool following() const { return following_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> window_;
    QPoint grab_; // the pressed point, relative to the window's top-left
    bool following_ = false;
};

} // namespace platform
