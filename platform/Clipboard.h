#pragma once
#include <QImage>

namespace platform {

class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual void clear() = 0;
    virtual void setImage(const QImage& image) = 0;
};

} // namespace platform
