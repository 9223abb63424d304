#pragma once
// Time: blocking pauses, today's date and time, and a monotonic counter for
// animations. The real clock pauses in a local event loop that keeps windows
// painting and queues the operator's input; the virtual one returns at once.
#include <QDateTime>
#include <QtGlobal>

namespace platform {

class Clock {
public:
    virtual ~Clock() = default;
    // Pauses for ms milliseconds.
    virtual void Sleep(int ms) = 0;
    // Local date and time now.
    virtual QDateTime now() const = 0;
    // Milliseconds since some fixed point; never goes back.
    virtual qint64 elapsedMs() const = 0;
};

} // namespace platform
