#pragma once
// The dot surface of the stop-name column and its paint-ready copy.
//
// The surface keeps what was drawn as colour indices: index 0 is the
// background, every other index one dot colour. A new background therefore
// leaves the dots as they are, and a palette change can re-map system
// colours (a colour value with the top bit set) without redrawing a dot.
//
// Painting never converts on the fly: the surface is converted once, after
// it changed, into a pixmap of the screen's format, and each frame only
// copies the visible band out of it. Very long names are converted a window
// of rows at a time, so the copy stays small whatever the name's length.
#include <QImage>
#include <QList>
#include <QPixmap>

class QPainter;

class ChimeiDotSurface {
public:
    static constexpr int kWidth = 37;
    // Rows converted at once for names taller than this (32 cells).
    static constexpr int kCacheRows = 1024;

    // A new blank surface of the given height.
    void reset(int height, quint32 background);
    // Everything back to the background; dot colours are forgotten.
    void clear();
    // A new background colour under the dots already drawn.
    void setBackground(quint32 background);
    // Sets the dot at every inked pixel (gx, gy) of a 16 x 16 glyph box to
    // the colour, at (X + 2 gx, Y + 2 gy), or (X + 2 gy, Y + 2 gx) when
    // transposed. Dots off the surface are not drawn.
    void plotGlyph(const QImage& box, qint32 X, qint32 Y, bool transposed, quint32 color);
    // Maps every colour value again, for system colours after a palette
    // change.
    void refreshColours();

    int height() const { return image_.height(); }
    const QImage& indexed() const { return image_; }
    // The surface in colours.
    QImage toImage() const { return image_.convertToFormat(QImage::Format_RGB32); }

    // Paints the rows of band (surface coordinates) with the surface's
    // top-left corner at origin.
    void paintBand(QPainter& p, QPoint origin, const QRect& band) const;
    // Whether a paint of band would use the copy as it stands.
    bool isPaintReady(const QRect& band) const;

private:
    uchar colorIndex(quint32 color);
    void setTable();
    void changed() { cacheValid_ = false; }

    QImage image_;
    // The colour value behind each index; entry 0 is the background.
    QList<quint32> colors_;

    mutable QPixmap cache_;
    mutable int cacheTop_ = 0;
    mutable bool cacheValid_ = false;
};
