#pragma once
// Window positions and sizes are kept in twips; the screen works in pixels.
// At the design resolution there are 15 twips to a pixel. This is the one
// place that converts between them.
#include "core/RuntimeError.h"

#include <QPoint>
#include <QRect>
#include <QSize>

#include <cmath>
#include <limits>

namespace core {

inline constexpr int kTwipsPerPixel = 15;

constexpr int twipsToPixels(int twips) {
    // Round to nearest, halves away from zero, so 7 twips is 0 px and 8 is 1.
    // Widened first: a position read from a file may be any 32-bit value.
    const qint64 t = twips;
    return int(t >= 0 ? (t + kTwipsPerPixel / 2) / kTwipsPerPixel : -((-t + kTwipsPerPixel / 2) / kTwipsPerPixel));
}
constexpr int pixelsToTwips(int pixels) {
    return pixels * kTwipsPerPixel;
}

// A floating position in twips as the settings file stores it: the nearest
// 32-bit integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4,
// -2.5 -> -2). A value beyond the 32-bit range, or not a number, is an
// overflow.
inline qint32 roundTwips(double twips) {
    const double below = std::floor(twips);
    const double fraction = twips - below;
    double rounded = below;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0.0))
        rounded = below + 1.0;
    if (!(rounded >= double(std::numeric_limits<qint32>::min()) &&
          rounded <= double(std::numeric_limits<qint32>::max())))
        throw RuntimeError(errors::kOverflow, QStringLiteral("オーバーフローしました。"));
    return qint32(rounded);
}

inline QRect twipsRect(int left, int top, int width, int height) {
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}
inline QSize twipsSize(int width, int height) {
    return {twipsToPixels(width), twipsToPixels(height)};
}

} // namespace core
