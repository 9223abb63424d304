// A second floor for K27's start-up: the bare window (bare_window.cpp) with
// the board's Japanese text on it, in the faces K27's stand-ins resolve to
// (IPA fonts): the fifty ticket numbers as labels and the captions 整理券,
// 運 and 賃. Any Qt program that writes this text pays for fontconfig's
// configuration, the fallback faces of each script and the glyphs, which
// the bare window never does; the difference between the two shows that
// share. Reports its first paint as bare_window does.
#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <ctime>
#include <sys/resource.h>

namespace {

qint64 monotonicNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

double cpuMs() {
    rusage use{};
    getrusage(RUSAGE_SELF, &use);
    return double(use.ru_utime.tv_sec + use.ru_stime.tv_sec) * 1e3 +
           double(use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1e3;
}

QFont pixelFont(const QString& family, int pixels) {
    QFont f(family);
    f.setPixelSize(pixels);
    f.setBold(true);
    return f;
}

// 1 -> "１", 50 -> "５０".
QString fullWidth(int n) {
    QString s = QString::number(n);
    for (QChar& c : s)
        c = QChar(c.unicode() - u'0' + 0xFF10);
    return s;
}

class Window : public QWidget {
public:
    Window() {
        setFixedSize(635, 245);
        const QFont number = pixelFont(QStringLiteral("IPAPGothic"), 17);
        for (int n = 1; n <= 50; ++n) {
            auto* l = new QLabel(fullWidth(n), this);
            l->setFont(number);
            l->setAlignment(Qt::AlignCenter);
            l->setGeometry(54 + ((n - 1) % 10) * 56, 30 + ((n - 1) / 10) * 39, 52, 16);
        }
        auto caption = [this](const QString& text, int pixels, const QRect& r) {
            auto* l = new QLabel(text, this);
            l->setFont(pixelFont(QStringLiteral("IPAGothic"), pixels));
            l->setAlignment(Qt::AlignCenter);
            l->setGeometry(r);
        };
        caption(QStringLiteral("整理券"), 10, QRect(9, 27, 42, 14));
        caption(QStringLiteral("運"), 32, QRect(9, 40, 42, 40));
        caption(QStringLiteral("賃"), 32, QRect(9, 150, 42, 40));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), QColor(0xC0, 0xC0, 0xC0));
        if (reported_)
            return;
        reported_ = true;
        // Like K27's probe: reported once the paint pass (the labels too)
        // and the flush are over.
        QTimer::singleShot(0, this, [] {
            std::printf("first-paint ms=-1 mono-ns=%lld cpu-ms=%.1f\n", static_cast<long long>(monotonicNs()), cpuMs());
            std::fflush(stdout);
            if (qgetenv("K27_REPORT_FIRST_PAINT") == "quit")
                QCoreApplication::quit();
        });
    }

private:
    bool reported_ = false;
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    Window window;
    window.show();
    return app.exec();
}
