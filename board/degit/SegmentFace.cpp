#include "board/degit/SegmentFace.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace SegmentFace {

Face faceForStyle(qint16 degitStyle) {
    switch (degitStyle) {
    case 1: return Face::B;
    case 2: return Face::C;
    default: return Face::A;
    }
}

quint8 segmentsFor(QChar ch) {
    // Full-width forms (０-９, Ａ-Ｚ, －) light what their ASCII forms do.
    if (ch.unicode() >= 0xFF01 && ch.unicode() <= 0xFF5E)
        ch = QChar(ch.unicode() - 0xFF01 + 0x21);
    switch (ch.unicode()) {
    case '0':
    case 'O':
    case 'D': return 0x3F;
    case '1': return 0x06;
    case '2':
    case 'Z':
    case 'z': return 0x5B;
    case '3': return 0x4F;
    case '4': return 0x66;
    case '5':
    case 'S':
    case 's': return 0x6D;
    case '6': return 0x7D;
    case '7': return 0x07;
    case '8': return 0x7F;
    case '9':
    case 'g': return 0x6F;
    case '-':
    case 0x2212:
    case 0x30FC: return SegG;
    case '_': return SegD;
    case '=': return SegD | SegG;
    case '\'': return SegB;
    case '"': return SegB | SegF;
    case '.':
    case ',': return SegDP;
    case '[':
    case '(':
    case 'C': return 0x39;
    case ']':
    case ')': return 0x0F;
    case 0xB0: return 0x63; // degree sign
    case 'A':
    case 'a': return 0x77;
    case 'B':
    case 'b': return 0x7C;
    case 'c': return 0x58;
    case 'd': return 0x5E;
    case 'E': return 0x79;
    case 'e': return 0x7B;
    case 'F':
    case 'f': return 0x71;
    case 'G': return 0x3D;
    case 'H':
    case 'K':
    case 'k':
    case 'X':
    case 'x': return 0x76;
    case 'h': return 0x74;
    case 'I': return 0x30;
    case 'i': return SegE;
    case 'J':
    case 'j': return 0x1E;
    case 'L': return 0x38;
    case 'l': return 0x30;
    case 'M':
    case 'm':
    case 'N': return 0x37;
    case 'n': return 0x54;
    case 'o': return 0x5C;
    case 'P':
    case 'p': return 0x73;
    case 'Q':
    case 'q': return 0x67;
    case 'R':
    case 'r': return 0x50;
    case 'T':
    case 't': return 0x78;
    case 'U':
    case 'V':
    case 'W': return 0x3E;
    case 'u':
    case 'v':
    case 'w': return 0x1C;
    case 'Y':
    case 'y': return 0x6E;
    default: return 0;
    }
}

namespace {

struct Frame {
    double left, right, top, mid, bottom, t, gap;
    double dpX, dpY, dpSize;
};

// Whole-pixel layout of the bars inside a cell.
Frame frameFor(const QRectF& cell, bool bold) {
    const double w = cell.width(), h = cell.height();
    Frame f{};
    f.t = bold ? std::max(2.0, std::round(w * 0.16)) : std::max(1.0, std::round(w * 0.12));
    const double padL = std::max(1.0, std::round(w * 0.14));
    const double padR = std::max(2.0, std::round(w * 0.22));
    const double padT = std::max(1.0, std::round(h * 0.12));
    const double padB = std::max(1.0, std::round(h * 0.1));
    f.left = cell.left() + padL;
    f.right = cell.right() + 1 - padR;
    f.top = cell.top() + padT;
    f.bottom = cell.bottom() + 1 - padB;
    f.mid = std::round((f.top + f.bottom - f.t) / 2.0);
    f.gap = std::max(0.5, std::round(f.t * 0.25 * 2) / 2);
    f.dpSize = std::max(1.0, f.t - 1);
    f.dpX = f.right + std::max(0.0, std::round((padR - f.dpSize) / 2.0));
    f.dpY = f.bottom - f.dpSize;
    return f;
}

// A bar from (x0, y0) to (x1, y1), t thick; bevelled ends for face A and B.
QPolygonF horizontalBar(double x0, double x1, double y, double t, bool bevel) {
    const double h = t / 2;
    if (!bevel)
        return QPolygonF({{x0, y}, {x1, y}, {x1, y + t}, {x0, y + t}});
    return QPolygonF({{x0, y + h}, {x0 + h, y}, {x1 - h, y}, {x1, y + h}, {x1 - h, y + t}, {x0 + h, y + t}});
}

QPolygonF verticalBar(double x, double y0, double y1, double t, bool bevel) {
    const double h = t / 2;
    if (!bevel)
        return QPolygonF({{x, y0}, {x + t, y0}, {x + t, y1}, {x, y1}});
    return QPolygonF({{x + h, y0}, {x + t, y0 + h}, {x + t, y1 - h}, {x + h, y1}, {x, y1 - h}, {x, y0 + h}});
}

} // namespace

QPolygonF segmentShape(quint8 segment, const QRectF& cell, Face face, bool bold) {
    const Frame f = frameFor(cell, bold);
    const bool bevel = face != Face::C;
    const double g = face == Face::C ? 1.0 : f.gap;
    QPolygonF shape;
    switch (segment) {
    case SegA: shape = horizontalBar(f.left + g, f.right - g, f.top, f.t, bevel); break;
    case SegG: shape = horizontalBar(f.left + g, f.right - g, f.mid, f.t, bevel); break;
    case SegD: shape = horizontalBar(f.left + g, f.right - g, f.bottom - f.t, f.t, bevel); break;
    case SegF: shape = verticalBar(f.left, f.top + g, f.mid + f.t / 2 - g / 2, f.t, bevel); break;
    case SegB: shape = verticalBar(f.right - f.t, f.top + g, f.mid + f.t / 2 - g / 2, f.t, bevel); break;
    case SegE: shape = verticalBar(f.left, f.mid + f.t / 2 + g / 2, f.bottom - g, f.t, bevel); break;
    case SegC: shape = verticalBar(f.right - f.t, f.mid + f.t / 2 + g / 2, f.bottom - g, f.t, bevel); break;
    case SegDP: shape = QPolygonF(QRectF(f.dpX, f.dpY, f.dpSize, f.dpSize)); break;
    default: return {};
    }
    if (face == Face::B) {
        // Slant to the right by about six degrees, pivoting on the bottom.
        const double base = cell.bottom();
        for (QPointF& pt : shape)
            pt.rx() += std::round((base - pt.y()) * 0.1 * 2) / 2;
    }
    return shape;
}

QPointF segmentCenter(quint8 segment, const QRectF& cell, Face face, bool bold) {
    const QPolygonF s = segmentShape(segment, cell, face, bold);
    if (s.isEmpty())
        return {};
    const QRectF r = s.boundingRect();
    return r.center();
}

void drawGlyph(QPainter& p, const QRectF& cell, quint8 mask, const QColor& color, Face face, bool bold) {
    if (!mask)
        return;
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    for (quint8 bit = 1; bit; bit <<= 1)
        if (mask & bit)
            path.addPolygon(segmentShape(bit, cell, face, bold));
    p.fillPath(path, color);
}

} // namespace SegmentFace
