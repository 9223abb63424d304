#pragma once
// Records every command string; answers each with a chosen code.
#include "platform/Multimedia.h"

#include <QStringList>

#include <functional>

namespace platform {

class RecordingMultimedia : public Multimedia {
public:
    QStringList commands;
    // The code answered; may depend on the command (to fail one open).
    std::function<qint32(const QString&)> answer = [](const QString&) { return 0; };

    qint32 mciSendString(const QString& command) override {
        commands << command;
        return answer(command);
    }
};

} // namespace platform
