#pragma once
// The board's Japanese text on the bare window (bench/BareWindow.h), in the
// faces K27's stand-ins resolve to (IPA fonts): the fifty ticket numbers as
// labels and the captions 整理券, 運 and 賃. Shared by text_window.cpp and
// two_text_windows.cpp.
#include "bench/BareWindow.h"

#include <QLabel>

namespace bench {

inline QFont pixelFont(const QString& family, int pixels, bool bold = true) {
    QFont f(family);
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

// 1 -> "１", 50 -> "５０".
inline QString fullWidth(int n) {
    QString s = QString::number(n);
    for (QChar& c : s)
        c = QChar(c.unicode() - u'0' + 0xFF10);
    return s;
}

class TextWindow : public BareWindow {
public:
    TextWindow() {
        const QFont number = pixelFont(QStringLiteral("IPAPGothic"), 17);
        for (int n = 1; n <= 50; ++n) {
            auto* l = new QLabel(fullWidth(n), this);
            l->setFont(number);
            l->setAlignment(Qt::AlignCenter);
            l->setGeometry(54 + ((n - 1) % 10) * 56, 30 + ((n - 1) / 10) * 39, 52, 16);
        }
        auto caption = [this](const QString& text, int pixels, const QRect& r) {
            auto* l = new QLabel(text, this);
            l->setFont(pixelFont(QStringLiteral("IPAGothic"), pixels));
            l->setAlignment(Qt::AlignCenter);
            l->setGeometry(r);
        };
        caption(QStringLiteral("整理券"), 10, QRect(9, 27, 42, 14));
        caption(QStringLiteral("運"), 32, QRect(9, 40, 42, 40));
        caption(QStringLiteral("賃"), 32, QRect(9, 150, 42, 40));
    }
};

} // namespace bench
