// The stop-name column: the cost of drawing a six-character name, against
// plain text drawing of the same characters, and the processor time that
// ten seconds of scrolling a twelve-character name take with the real
// timer, against an idle program, as a share of one core.
#include "board/chimei/ChimeiCtl_A.h"
#include "platform/Fonts.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QImage>
#include <QPainter>
#include <QTimer>

#include <ctime>

namespace {

const QString kSix = QStringLiteral("市民会館入口");
const QString kTwelve = QStringLiteral("中央病院前東口市民会館入口");

double processCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

void BM_SetChimeiSixCharacters(benchmark::State& state) {
    ChimeiCtl_A c;
    for (auto _ : state) {
        c.SetChimei(kSix);
        benchmark::DoNotOptimize(c.dotSurface().constBits());
    }
    state.counters["per_character"] = benchmark::Counter(double(state.iterations()) * kSix.size(),
                                                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_SetChimeiSixCharacters)->Unit(benchmark::kMicrosecond);

// Baseline: the same six characters drawn as ordinary 16-pixel text.
void BM_Baseline_DrawTextSixCharacters(benchmark::State& state) {
    QImage img(ChimeiCtl_A::kSurfaceWidth, ChimeiCtl_A::kColumnHeight, QImage::Format_RGB32);
    const QFont font = platform::faceFont(platform::kFaceGothic, 12);
    for (auto _ : state) {
        img.fill(Qt::gray);
        QPainter p(&img);
        p.setFont(font);
        for (int i = 0; i < kSix.size(); ++i)
            p.drawText(QPoint(2, 14 + 32 * i), kSix.mid(i, 1));
        p.end();
        benchmark::DoNotOptimize(img.constBits());
    }
    state.counters["per_character"] = benchmark::Counter(double(state.iterations()) * kSix.size(),
                                                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_Baseline_DrawTextSixCharacters)->Unit(benchmark::kMicrosecond);

// Runs the event loop for ten seconds, optionally with a twelve-character
// name scrolling, and reports the processor time as a share of one core.
// A posted event every 50 ms stands for the operator's input: its worst
// delivery delay shows whether the program keeps answering.
void runTenSeconds(benchmark::State& state, bool scroll, bool visible, qint16 speed) {
    for (auto _ : state) {
        ChimeiCtl_A c;
        c.setSpeed(speed);
        if (visible)
            c.show();
        if (scroll)
            c.SetChimei(kTwelve);
        QCoreApplication::processEvents();

        qint64 worstDelayMs = 0;
        QElapsedTimer posted;
        QTimer input;
        QObject::connect(&input, &QTimer::timeout, [&] {
            posted.start();
            QTimer::singleShot(0, [&] { worstDelayMs = std::max(worstDelayMs, posted.elapsed()); });
        });
        input.start(50);

        QElapsedTimer wall;
        const double cpu0 = processCpuSeconds();
        wall.start();
        QEventLoop loop;
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        loop.exec();
        const double cpu = processCpuSeconds() - cpu0;
        const double seconds = wall.elapsed() / 1000.0;

        state.counters["cpu_share_%"] = 100.0 * cpu / seconds;
        state.counters["cpu_ms"] = cpu * 1000.0;
        state.counters["worst_input_delay_ms"] = double(worstDelayMs);
        c.tick();
        state.counters["final_top"] = c.surfaceTop();
    }
}

void BM_Baseline_IdleTenSeconds(benchmark::State& state) {
    runTenSeconds(state, false, true, 5);
}
void BM_ScrollTenSecondsVisible(benchmark::State& state) {
    runTenSeconds(state, true, true, 5);
}
void BM_ScrollTenSecondsVisibleFast(benchmark::State& state) {
    runTenSeconds(state, true, true, 100);
}
void BM_ScrollTenSecondsHidden(benchmark::State& state) {
    runTenSeconds(state, true, false, 5);
}
BENCHMARK(BM_Baseline_IdleTenSeconds)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScrollTenSecondsVisible)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScrollTenSecondsVisibleFast)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScrollTenSecondsHidden)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
