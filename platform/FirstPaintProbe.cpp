#include "platform/FirstPaintProbe.h"

#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <ctime>
#include <sys/resource.h>
#include <unistd.h>

namespace platform {

namespace {

qint64 nanoseconds(clockid_t clock) {
    timespec ts{};
    clock_gettime(clock, &ts);
    return qint64(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

// Milliseconds since the kernel started this process, from the start time
// in /proc/self/stat (clock ticks since boot) and the boot-time clock.
double sinceProcessStart() {
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    // The command name may hold spaces; the fields after it are plain.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    // starttime is field 22 of the whole line, 20 after the name and state.
    if (fields.size() < 20)
        return -1;
    const double startSeconds = fields.at(19).toDouble() / double(sysconf(_SC_CLK_TCK));
    return double(nanoseconds(CLOCK_BOOTTIME)) / 1e6 - startSeconds * 1e3;
}

double cpuMilliseconds() {
    rusage use{};
    getrusage(RUSAGE_SELF, &use);
    return (double(use.ru_utime.tv_sec + use.ru_stime.tv_sec) * 1e3) +
           double(use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1e3;
}

class Probe : public QObject {
public:
    Probe(QWidget* window, bool quit) : QObject(window), quit_(quit) { window->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            // The children paint and the window is flushed in the same pass;
            // a zero timer runs once that pass is over.
            QTimer::singleShot(0, this, [this] { report(); });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void report() {
        std::printf("first-paint ms=%.1f mono-ns=%lld cpu-ms=%.1f\n", sinceProcessStart(),
                    static_cast<long long>(nanoseconds(CLOCK_MONOTONIC)), cpuMilliseconds());
        std::fflush(stdout);
        parent()->removeEventFilter(this);
        // The process ends here and now: quit() would ask the windows to
        // close (the board refuses), and the first paint can come inside the
        // start-up's own event loop, before the main one runs. Nothing is
        // saved: a measurement leaves the settings as they were.
        if (quit_)
            ::_exit(0);
    }

    bool quit_;
    bool seen_ = false;
};

} // namespace

void startupMark(const char* what) {
    static const bool enabled = qEnvironmentVariableIsSet("K27_TRACE_STARTUP");
    if (!enabled)
        return;
    std::fprintf(stderr, "startup %-28s wall-ms=%7.1f cpu-ms=%6.1f\n", what, sinceProcessStart(), cpuMilliseconds());
}

void watchFirstPaint(QWidget* window) {
    if (!window || !qEnvironmentVariableIsSet("K27_REPORT_FIRST_PAINT"))
        return;
    new Probe(window, qgetenv("K27_REPORT_FIRST_PAINT") == "quit");
}

} // namespace platform
