#include "control/ReversedScrollBar.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QTimerEvent>

ReversedScrollBar::ReversedScrollBar(QWidget* parent) : QScrollBar(Qt::Horizontal, parent) {
    setInvertedAppearance(true);
    // The wheel turned down lowers the value, which moves the thumb to the
    // right as on any horizontal bar. The keys are handled below.
    setInvertedControls(false);
    connect(this, &QAbstractSlider::actionTriggered, this, &ReversedScrollBar::turnPointerStep);
}

void ReversedScrollBar::mousePressEvent(QMouseEvent* event) {
    const QScopedValueRollback<bool> pointer(pointerStep_, true);
    QScrollBar::mousePressEvent(event);
}

void ReversedScrollBar::timerEvent(QTimerEvent* event) {
    // The only timer of a slider repeats the step of an arrow or the trough
    // held down by the pointer.
    const QScopedValueRollback<bool> pointer(pointerStep_, true);
    QScrollBar::timerEvent(event);
}

void ReversedScrollBar::keyPressEvent(QKeyEvent* event) {
    // Each key moves the thumb towards the end it names on the screen: Left,
    // Up, Page Up and Home towards the left end, where the maximum is.
    SliderAction action = SliderNoAction;
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up: action = SliderSingleStepAdd; break;
    case Qt::Key_Right:
    case Qt::Key_Down: action = SliderSingleStepSub; break;
    case Qt::Key_PageUp: action = SliderPageStepAdd; break;
    case Qt::Key_PageDown: action = SliderPageStepSub; break;
    case Qt::Key_Home: action = SliderToMaximum; break;
    case Qt::Key_End: action = SliderToMinimum; break;
    default: QScrollBar::keyPressEvent(event); return;
    }
    triggerAction(action);
    event->accept();
}

#ifndef QT_NO_CONTEXTMENU
void ReversedScrollBar::contextMenuEvent(QContextMenuEvent* event) {
    const QScopedValueRollback<bool> pointer(pointerStep_, true);
    QScrollBar::contextMenuEvent(event);
}
#endif

void ReversedScrollBar::turnPointerStep(int action) {
    if (!pointerStep_)
        return;
    // The signal comes after the slider position has moved and before the
    // value follows it, so value() is still the old value and the position
    // set here becomes the new one.
    const qint64 v = value();
    qint64 target = 0;
    switch (action) {
    case SliderSingleStepAdd: target = v - singleStep(); break;
    case SliderSingleStepSub: target = v + singleStep(); break;
    case SliderPageStepAdd: target = v - pageStep(); break;
    case SliderPageStepSub: target = v + pageStep(); break;
    case SliderToMinimum: target = maximum(); break; // "left edge"
    case SliderToMaximum: target = minimum(); break; // "right edge"
    default: return;
    }
    setSliderPosition(int(qBound(qint64(minimum()), target, qint64(maximum()))));
}
