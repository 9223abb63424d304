#include "platform/WindowShape.h"

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

void startWindowDrag(QWidget* window) {
    if (!window)
        return;
    if (QWindow* handle = window->window()->windowHandle())
        handle->startSystemMove();
}

} // namespace platform
