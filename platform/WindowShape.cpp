#include "platform/WindowShape.h"

#include "platform/Platform.h"

#include <QMouseEvent>
#include <QPainterPath>
#include <QRegion>
#include <QWidget>
#include <QWindow>

namespace platform {

void applyRoundRegion(QWidget* window, int ellipseWidth, int ellipseHeight) {
    if (!window)
        return;
    // Built from a polygon so the edge is hard: a region has no antialiasing.
    QPainterPath path;
    path.addRoundedRect(QRectF(window->rect()), ellipseWidth / 2.0, ellipseHeight / 2.0);
    window->setMask(QRegion(path.toFillPolygon().toPolygon()));
    window->repaint();
}

bool SystemWindowMover::startSystemMove(QWidget* window) {
    if (!window)
        return false;
    QWindow* handle = window->window()->windowHandle();
    return handle && handle->startSystemMove();
}

WindowDragger::WindowDragger(QWidget* window) : QObject(window), window_(window) {
    if (window)
        window->installEventFilter(this);
}

void WindowDragger::press(const QMouseEvent* event) {
    following_ = false;
    if (!window_ || !event || event->button() != Qt::LeftButton)
        return;
    QWidget* top = window_->window();
    if (windowMover().startSystemMove(top))
        return;
    // Refused: remember where the window was taken and follow the mouse.
    grab_ = event->globalPosition().toPoint() - top->pos();
    following_ = true;
}

bool WindowDragger::eventFilter(QObject* watched, QEvent* event) {
    if (!following_ || watched != window_)
        return false;
    switch (event->type()) {
    case QEvent::MouseMove: {
        const auto* move = static_cast<QMouseEvent*>(event);
        if (!(move->buttons() & Qt::LeftButton)) {
            // The release went elsewhere (a grab by another window): stop.
            following_ = false;
            return false;
        }
        window_->window()->move(move->globalPosition().toPoint() - grab_);
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            following_ = false;
        return false;
    case QEvent::Hide: following_ = false; return false;
    default: return false;
    }
}

} // namespace platform
