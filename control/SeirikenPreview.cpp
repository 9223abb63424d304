#include "control/SeirikenPreview.h"

#include <QMouseEvent>
#include <QPainter>

SeirikenPreview::SeirikenPreview(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("picSeirikenPrev"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SeirikenPreview::clear() {
    if (image_.size() != size())
        image_ = QImage(size(), QImage::Format_RGB32);
    image_.fill(kBackColor);
    update();
}

void SeirikenPreview::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor::fromRgb(kBackColor));
    p.drawImage(QPoint(0, 0), image_);
    // A thin sunken edge, so that an empty ticket still shows where it is.
    p.setPen(palette().color(QPalette::Mid));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void SeirikenPreview::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // A new size starts a new, empty picture; the next refresh draws on it.
    clear();
}

void SeirikenPreview::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        Q_EMIT rightButtonDown(event->globalPosition().toPoint());
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}
