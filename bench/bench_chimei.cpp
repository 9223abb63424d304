// The stop-name column: the cost of drawing a six-character name, against
// plain text drawing of the same characters; the cost of painting one frame
// of a scrolling forty-character name, against converting the visible band
// of the dot surface on every frame; and the processor time that ten
// seconds of scrolling a twelve-character name take with the real timer,
// against an idle program, as a share of one core.
#include "bench/BenchMain.h"
#include "bench/Summary.h"
#include "board/chimei/ChimeiCtl_A.h"
#include "board/chimei/ChimeiDotSurface.h"
#include "board/chimei/ChimeiGlyph.h"
#include "platform/Clock.h"
#include "platform/Fonts.h"
#include "platform/Platform.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QImage>
#include <QPainter>
#include <QTimer>

#include <ctime>
#include <map>

namespace {

const QString kSix = QStringLiteral("市民会館入口");
const QString kTwelve = QStringLiteral("中央病院前東口市民会館入口");
const QString kForty = QStringLiteral("中央病院前東口市民会館入口").repeated(3) + QStringLiteral("終点");

// A clock that moves only when told, so that a benchmark can stop the
// scroll at a chosen place.
struct SteppedClock : platform::Clock {
    qint64 elapsed = 0;
    void Sleep(int ms) override { elapsed += ms; }
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    qint64 elapsedMs() const override { return elapsed; }
};
SteppedClock& steppedClock() {
    static SteppedClock clock;
    return clock;
}

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

// A forty-character name scrolled to the middle of its run; one frame of
// the column painted as the window system asks for it, into an image of the
// format window back buffers have.
void BM_PaintFrameFortyCells(benchmark::State& state) {
    platform::ScopedInstall<platform::Clock> installed(steppedClock());
    ChimeiCtl_A c;
    c.setSpeed(200);
    c.setScrollStartWait(0);
    c.SetChimei(kForty);
    steppedClock().elapsed += 600;
    c.tick();
    QImage target(c.size(), QImage::Format_ARGB32_Premultiplied);
    c.render(&target); // the first frame may build what later frames reuse
    for (auto _ : state) {
        c.render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
    state.counters["top"] = c.surfaceTop();
}
BENCHMARK(BM_PaintFrameFortyCells)->Unit(benchmark::kMicrosecond);

// The visible band of the forty-cell name at the same place, painted into a
// back buffer of either format a window system hands out (argument 0:
// RGB32, 1: ARGB32 premultiplied). The baseline converts the band out of
// the indexed dot surface on every frame; the control copies it from the
// paint-ready picture it keeps.
QImage::Format targetFormat(const benchmark::State& state) {
    return state.range(0) == 0 ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied;
}
const QRect kBand(0, 600, ChimeiCtl_A::kSurfaceWidth, 191);

void BM_Baseline_PaintBandConvertedEachFrame(benchmark::State& state) {
    ChimeiCtl_A c;
    c.setScrollStartWait(0);
    c.SetChimei(kForty);
    const QImage surface = c.dotSurface();
    QImage target(ChimeiCtl_A::kDesignWidth, ChimeiCtl_A::kDesignHeight, targetFormat(state));
    for (auto _ : state) {
        QPainter p(&target);
        p.drawImage(QPoint(2, 2), surface.copy(kBand));
        p.end();
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_Baseline_PaintBandConvertedEachFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_PaintBandFromPaintReadyCopy(benchmark::State& state) {
    ChimeiDotSurface surface;
    const QStringList pieces = chimei::splitPieces(kForty, ChimeiCtl_A::kMaxCells);
    surface.reset(ChimeiCtl_A::kCellPitch * int(pieces.size()), ChimeiCtl_A::kDefaultBackColor);
    QImage box(chimei::kGlyphSize, chimei::kGlyphSize, QImage::Format_RGB32);
    for (int k = 0; k < pieces.size(); ++k) {
        box.fill(Qt::white);
        chimei::renderPiece(box, pieces[k], platform::kFaceGothic, false, 0, 0);
        surface.plotGlyph(box, 2, ChimeiCtl_A::kCellPitch * k, false, ChimeiCtl_A::kDefaultForeColor);
    }
    QImage target(ChimeiCtl_A::kDesignWidth, ChimeiCtl_A::kDesignHeight, targetFormat(state));
    for (auto _ : state) {
        QPainter p(&target);
        surface.paintBand(p, QPoint(2, 2 - kBand.top()), kBand);
        p.end();
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_PaintBandFromPaintReadyCopy)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

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

// Prints the scrolling name's processor share beside the idle board's after
// the table.
class ShareReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs) {
            const auto share = r.counters.find("cpu_share_%");
            // Named by the function alone, without "/iterations:1".
            if (share != r.counters.end())
                shares_[r.benchmark_name().substr(0, r.benchmark_name().find('/'))] = share->second.value;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        const auto idle = shares_.find("BM_Baseline_IdleTenSeconds");
        const auto scroll = shares_.find("BM_ScrollTenSecondsVisible");
        if (idle == shares_.end() || scroll == shares_.end())
            return;
        std::printf("processor share while a twelve-character name scrolls: %.2f %% of one core; idle: %.2f %%\n",
                    scroll->second, idle->second);
        benchsummary::row("processor share while a long stop name scrolls, % of a core", scroll->second,
                          "the idle stop-name display", idle->second);
    }

private:
    std::map<std::string, double> shares_;
};

} // namespace

int main(int argc, char** argv) {
    return benchmain::run<ShareReporter>(argc, argv);
}
