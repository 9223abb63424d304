#pragma once
#include "platform/Clipboard.h"

namespace platform {

class SystemClipboard : public Clipboard {
public:
    void clear() override;
    void setImage(const QImage& image) override;
};

} // namespace platform
