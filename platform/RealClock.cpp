#include "platform/RealClock.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace platform {

RealClock::RealClock() {
    started_.start();
}

void RealClock::Sleep(int ms) {
    if (ms <= 0)
        return;
    if (!QCoreApplication::instance()) {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < ms) {
        }
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

QDateTime RealClock::now() const {
    return QDateTime::currentDateTime();
}

qint64 RealClock::elapsedMs() const {
    return started_.elapsed();
}

} // namespace platform
