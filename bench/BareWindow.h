#pragma once
// The window K27's start-up is measured against (bare_window.cpp, and with
// the board's text on it text_window.cpp): one 635 x 245 window, painted
// grey, that reports its first paint exactly as K27 does with
// K27_REPORT_FIRST_PAINT (see platform/FirstPaintProbe.h): one line on
// standard output, then a normal quit when the value is "quit", otherwise
// it stays idle. Qt Widgets only, like any small Qt program.
#include <QApplication>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <ctime>
#include <sys/resource.h>

class BareWindow : public QWidget {
public:
    BareWindow() { setFixedSize(635, 245); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), QColor(0xC0, 0xC0, 0xC0));
        if (reported_)
            return;
        reported_ = true;
        // Like K27's probe: reported once the paint pass (children too) and
        // the flush are over.
        QTimer::singleShot(0, this, [] {
            std::printf("first-paint ms=-1 mono-ns=%lld cpu-ms=%.1f\n", static_cast<long long>(monotonicNs()), cpuMs());
            std::fflush(stdout);
            if (qgetenv("K27_REPORT_FIRST_PAINT") == "quit")
                QCoreApplication::quit();
        });
    }

private:
    static qint64 monotonicNs() {
        timespec ts{};
        clock_gettime(CLOCK_MONOTONIC, &ts);
        return qint64(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
    }

    static double cpuMs() {
        rusage use{};
        getrusage(RUSAGE_SELF, &use);
        return double(use.ru_utime.tv_sec + use.ru_stime.tv_sec) * 1e3 +
               double(use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1e3;
    }

    bool reported_ = false;
};
