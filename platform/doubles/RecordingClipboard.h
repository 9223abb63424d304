#pragma once
#include "platform/Clipboard.h"

namespace platform {

class RecordingClipboard : public Clipboard {
public:
    int clears = 0;
    QImage image;
    void clear() override {
        ++clears;
        image = QImage();
    }
    void setImage(const QImage& img) override { image = img; }
};

} // namespace platform
