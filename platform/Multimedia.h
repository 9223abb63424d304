#pragma once
// Multimedia command strings: "open "<path>" type <device> alias <name> wait",
// "play <name> from 0 [wait]", "stop <name>", "close <name>". The result is 0
// on success and a non-zero error code otherwise.
#include <QString>
#include <QtGlobal>

namespace platform {

class Multimedia {
public:
    virtual ~Multimedia() = default;
    virtual qint32 mciSendString(const QString& command) = 0;
};

} // namespace platform
