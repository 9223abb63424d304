#pragma once
// Virtual time: Sleep returns at once, is recorded and moves time forward.
#include "platform/Clock.h"

#include <QList>

namespace platform {

class VirtualClock : public Clock {
public:
    QList<int> sleeps;
    QDateTime current = QDateTime(QDate(2026, 1, 5), QTime(9, 5, 0));
    qint64 elapsed = 0;

    void Sleep(int ms) override {
        sleeps << ms;
        advance(ms);
    }
    QDateTime now() const override { return current; }
    qint64 elapsedMs() const override { return elapsed; }

    void advance(qint64 ms) {
        if (ms <= 0)
            return;
        elapsed += ms;
        current = current.addMSecs(ms);
    }
};

} // namespace platform
