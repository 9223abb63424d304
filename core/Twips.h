#pragma once
// Window positions and sizes are kept in twips; the screen works in pixels.
// At the design resolution there are 15 twips to a pixel. This is the one
// place that converts between them.
#include <QPoint>
#include <QRect>
#include <QSize>

namespace core {

inline constexpr int kTwipsPerPixel = 15;

constexpr int twipsToPixels(int twips) {
    // Round to nearest, halves away from zero, so 7 twips is 0 px and 8 is 1.
    return twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel
                      : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}
constexpr int pixelsToTwips(int pixels) {
    return pixels * kTwipsPerPixel;
}

inline QRect twipsRect(int left, int top, int width, int height) {
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}
inline QSize twipsSize(int width, int height) {
    return {twipsToPixels(width), twipsToPixels(height)};
}

} // namespace core
