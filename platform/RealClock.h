#pragma once
#include "platform/Clock.h"

#include <QElapsedTimer>

namespace platform {

class RealClock : public Clock {
public:
    RealClock();
    // Runs a local event loop for ms milliseconds: windows keep painting,
    // clicks and keys wait in the queue until the pause ends.
    void Sleep(int ms) override;
    QDateTime now() const override;
    qint64 elapsedMs() const override;

private:
    QElapsedTimer started_;
};

} // namespace platform
