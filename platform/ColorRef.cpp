#include "platform/ColorRef.h"

#include <QGuiApplication>
#include <QPalette>

namespace platform {

namespace {
// The system colour indices of the original platform, mapped to the nearest
// palette role of the running desktop.
QColor systemColor(int index) {
    const QPalette pal = QGuiApplication::palette();
    switch (index) {
    case 5: // window background
        return pal.color(QPalette::Base);
    case 8:  // window text
    case 18: // button text
        return pal.color(QPalette::Text);
    case 13: // highlight
        return pal.color(QPalette::Highlight);
    case 14: // highlighted text
        return pal.color(QPalette::HighlightedText);
    case 16: // button shadow
        return pal.color(QPalette::Mid);
    case 17: // grey text
        return pal.color(QPalette::PlaceholderText);
    case 20: // button highlight
        return pal.color(QPalette::Light);
    case 15: // button face
    default: return pal.color(QPalette::Button);
    }
}
} // namespace

QColor toQColor(quint32 ref) {
    if (ref & 0x80000000u)
        return systemColor(int(ref & 0xFF));
    return QColor(int(ref & 0xFF), int((ref >> 8) & 0xFF), int((ref >> 16) & 0xFF));
}

quint32 fromQColor(const QColor& c) {
    return rgbRef(c.red(), c.green(), c.blue());
}

} // namespace platform
