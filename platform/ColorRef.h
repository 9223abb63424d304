#pragma once
// Colours are stored as 32-bit 0x00BBGGRR values (low byte red). A value with
// the top bit set names a system colour by its index in the low byte.
#include <QColor>
#include <QtGlobal>

namespace platform {

constexpr quint32 rgbRef(int r, int g, int b) {
    return quint32(r & 0xFF) | (quint32(g & 0xFF) << 8) | (quint32(b & 0xFF) << 16);
}

// Turns a stored colour into a QColor; system colours map to palette roles.
QColor toQColor(quint32 ref);

// The stored form of a plain colour.
quint32 fromQColor(const QColor& c);

} // namespace platform
