#pragma once
// Reads an M_Degit's picture back: which segments of each cell show the lit
// colour, and the characters those segment sets spell.
#include "board/degit/M_Degit.h"
#include "board/degit/SegmentFace.h"
#include "core/Twips.h"
#include "platform/ColorRef.h"

#include <QImage>
#include <QString>

namespace degitprobe {

inline QRectF cellRect(const M_Degit& d, int i) {
    const qreal dpr = d.surface().devicePixelRatio();
    const double cell = core::twipsToPixels(M_Degit::cellWidthTwips(d.DegitSize())) * dpr;
    const double h = core::twipsToPixels(M_Degit::heightTwips(d.DegitSize())) * dpr;
    return {i * (cell + d.CharExtra() * dpr), -1 * dpr, cell, h};
}

// Segment bits of cell i whose centre pixel has exactly the colour.
inline quint8 segmentsIn(const M_Degit& d, int i, quint32 colorRef) {
    const QImage& img = d.surface();
    const QColor want = platform::toQColor(colorRef);
    const auto face = SegmentFace::faceForStyle(d.DegitStyle());
    quint8 mask = 0;
    for (quint8 bit = 1; bit & 0x7F; bit <<= 1) {
        const QPointF c = SegmentFace::segmentCenter(bit, cellRect(d, i), face, d.BoldFont());
        const QPoint px(int(c.x()), int(c.y()));
        if (img.rect().contains(px) && QColor(img.pixel(px)) == want)
            mask |= bit;
    }
    return mask;
}

// What the cells spell in the lit colour: digits, '-', letters shown as
// the first character with that segment set, ' ' for a dark cell, '?' for
// an unknown set.
inline QString litText(const M_Degit& d) {
    QString out;
    for (int i = 0; i < d.Keta(); ++i) {
        const quint8 m = segmentsIn(d, i, d.DegitForeColor());
        if (m == 0) {
            out += QLatin1Char(' ');
            continue;
        }
        QChar found = QLatin1Char('?');
        for (QChar c : QStringLiteral("0123456789-abcdefhjlnoprtuyACEFGHLPU"))
            if (SegmentFace::segmentsFor(c) == m) {
                found = c;
                break;
            }
        out += found;
    }
    return out;
}

// True when every segment of every cell shows the unlit colour, except
// those lit.
inline bool unlitEverywhereElse(const M_Degit& d) {
    for (int i = 0; i < d.Keta(); ++i) {
        const quint8 lit = segmentsIn(d, i, d.DegitForeColor());
        const quint8 unlit = segmentsIn(d, i, d.BaseForeColor());
        if ((lit | unlit) != 0x7F)
            return false;
    }
    return true;
}

} // namespace degitprobe
