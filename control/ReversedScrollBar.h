#pragma once
// A horizontal scroll bar whose larger value lies at the left end and whose
// smaller value lies at the right end, as the panel's scroll-speed and
// scroll-interval bars are laid out. Every way of moving it moves the thumb
// the way the user points: the right arrow, a click on the trough right of
// the thumb, the Right and End keys, the wheel turned down and the context
// menu's "right" entries all move the thumb to the right, which lowers the
// value; dragging follows the pointer.
#include <QScrollBar>

class ReversedScrollBar : public QScrollBar {
    Q_OBJECT

public:
    explicit ReversedScrollBar(QWidget* parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
#ifndef QT_NO_CONTEXTMENU
    void contextMenuEvent(QContextMenuEvent* event) override;
#endif

private:
    // QScrollBar names its right arrow, the trough right of the thumb and
    // its menu entries by the value they would reach in an unreversed bar:
    // "add" for the right arrow raises the value, which moves a reversed
    // thumb to the left. Steps started by the pointer (the press, the
    // press-and-hold repeat, the menu) are turned round here before the
    // value follows.
    void turnPointerStep(int action);

    bool pointerStep_ = false;
};
