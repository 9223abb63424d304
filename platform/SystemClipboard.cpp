#include "platform/SystemClipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace platform {

void SystemClipboard::clear() {
    if (auto* cb = QGuiApplication::clipboard())
        cb->clear();
}

void SystemClipboard::setImage(const QImage& image) {
    if (auto* cb = QGuiApplication::clipboard())
        cb->setImage(image);
}

} // namespace platform
