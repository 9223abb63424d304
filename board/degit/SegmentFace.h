#pragma once
// The three seven-segment faces of the digit control, drawn as shapes rather
// than taken from a font: every character fills one fixed cell, "8" lights
// all seven segments, "-" the middle bar and a space nothing. Geometry is
// computed in device pixels and snapped to whole pixels so the bars stay
// sharp at any scale.
#include <QColor>
#include <QPolygonF>
#include <QRectF>
#include <QtGlobal>

class QPainter;

namespace SegmentFace {

// Segment bits: a top, b upper right, c lower right, d bottom, e lower left,
// f upper left, g middle, and the decimal point.
enum Segment : quint8 {
    SegA = 0x01,
    SegB = 0x02,
    SegC = 0x04,
    SegD = 0x08,
    SegE = 0x10,
    SegF = 0x20,
    SegG = 0x40,
    SegDP = 0x80,
};

// Which face a DegitStyle value selects: 1 → B (slanted), 2 → C (square
// blocks), anything else → A (classic bevelled bars).
enum class Face { A, B, C };
Face faceForStyle(qint16 degitStyle);

// The segments a character lights. Full-width digits and letters light what
// their half-width forms do; characters without a shape light nothing.
quint8 segmentsFor(QChar ch);

// The outline of one segment (a single bit) in a cell whose top-left corner
// and size are given in device pixels.
// bold = false draws the bars about a quarter thinner.
QPolygonF segmentShape(quint8 segment, const QRectF& cell, Face face, bool bold = true);

// A point well inside the segment, for reading back what was drawn.
QPointF segmentCenter(quint8 segment, const QRectF& cell, Face face, bool bold = true);

// Draws the segments of mask in the colour; the background is not painted.
void drawGlyph(QPainter& p, const QRectF& cell, quint8 mask, const QColor& color, Face face, bool bold = true);

} // namespace SegmentFace
