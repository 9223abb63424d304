#include "board/chimei/ChimeiDotSurface.h"

#include "board/chimei/ChimeiGlyph.h"
#include "platform/ColorRef.h"

#include <QPainter>

#include <algorithm>

void ChimeiDotSurface::reset(int height, quint32 background) {
    image_ = QImage(kWidth, height, QImage::Format_Indexed8);
    colors_ = {background};
    clear();
}

void ChimeiDotSurface::clear() {
    if (image_.isNull())
        return;
    colors_.resize(1);
    setTable();
    image_.fill(0);
    changed();
}

void ChimeiDotSurface::setBackground(quint32 background) {
    if (image_.isNull())
        return;
    colors_[0] = background;
    image_.setColor(0, platform::toQColor(background).rgb());
    changed();
}

void ChimeiDotSurface::refreshColours() {
    if (image_.isNull())
        return;
    setTable();
    changed();
}

void ChimeiDotSurface::setTable() {
    QList<QRgb> table;
    table.reserve(colors_.size());
    for (quint32 c : colors_)
        table.append(platform::toQColor(c).rgb());
    image_.setColorTable(table);
}

uchar ChimeiDotSurface::colorIndex(quint32 color) {
    for (qsizetype i = 1; i < colors_.size(); ++i)
        if (colors_[i] == color)
            return uchar(i);
    if (colors_.size() < 256) {
        colors_.append(color);
        setTable();
        return uchar(colors_.size() - 1);
    }
    // 255 dot colours since the last clear: the newest takes the last slot.
    colors_[255] = color;
    image_.setColor(255, platform::toQColor(color).rgb());
    return 255;
}

void ChimeiDotSurface::plotGlyph(const QImage& box, qint32 X, qint32 Y, bool transposed, quint32 color) {
    if (image_.isNull())
        return;
    const uchar index = colorIndex(color);
    const qint64 w = image_.width(), h = image_.height();
    for (int gy = 0; gy < chimei::kGlyphSize; ++gy) {
        for (int gx = 0; gx < chimei::kGlyphSize; ++gx) {
            if (!chimei::isInk(box, gx, gy))
                continue;
            const qint64 x = qint64(X) + 2 * (transposed ? gy : gx);
            const qint64 y = qint64(Y) + 2 * (transposed ? gx : gy);
            if (x < 0 || y < 0 || x >= w || y >= h)
                continue;
            image_.scanLine(int(y))[x] = index;
        }
    }
    changed();
}

bool ChimeiDotSurface::isPaintReady(const QRect& band) const {
    return cacheValid_ && band.top() >= cacheTop_ && band.bottom() < cacheTop_ + cache_.height();
}

void ChimeiDotSurface::paintBand(QPainter& p, QPoint origin, const QRect& band) const {
    const QRect rows = band.intersected(image_.rect());
    if (rows.isEmpty())
        return;
    if (!isPaintReady(rows)) {
        // A window of rows that starts at the band and reaches as far down
        // as it can: an upward scroll then runs through the whole window
        // before the next conversion.
        const int windowRows = std::min(image_.height(), std::max(kCacheRows, rows.height()));
        cacheTop_ = std::clamp(rows.top(), 0, image_.height() - windowRows);
        cache_ = QPixmap::fromImage(
            windowRows == image_.height() ? image_ : image_.copy(0, cacheTop_, image_.width(), windowRows));
        cacheValid_ = true;
    }
    p.drawPixmap(origin + rows.topLeft(), cache_, rows.translated(0, -cacheTop_));
}
