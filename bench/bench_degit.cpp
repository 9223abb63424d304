// Drawing speed of the seven-segment digit control against Qt's QLCDNumber
// showing the same four digits at the same size, and a repaint of the whole
// board. Each case draws a changing value and puts it on an image, so both
// controls do all the work a screen update needs.
#include "bench/BenchMain.h"
#include "bench/Summary.h"
#include "board/Form1.h"
#include "board/degit/M_Degit.h"

#include <QApplication>
#include <QImage>
#include <QLCDNumber>

#include <benchmark/benchmark.h>

namespace {
const int kValues[] = {230, 1230, 4560, 7890, 150, 8888};

void BM_M_Degit_Draw4(benchmark::State& state) {
    M_Degit d;
    d.setBackColor(0x808080);
    QImage target(d.size(), QImage::Format_RGB32);
    int i = 0;
    for (auto _ : state) {
        d.setValue(kValues[i++ % 6]);
        d.render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_M_Degit_Draw4);

void BM_QLCDNumber_Draw4(benchmark::State& state) {
    QLCDNumber lcd(4);
    lcd.setSegmentStyle(QLCDNumber::Filled);
    lcd.setFrameShape(QFrame::NoFrame);
    lcd.resize(52, 20);
    QImage target(lcd.size(), QImage::Format_RGB32);
    int i = 0;
    for (auto _ : state) {
        lcd.display(kValues[i++ % 6]);
        lcd.render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_QLCDNumber_Draw4);

void BM_Board_Repaint(benchmark::State& state) {
    Form1 board;
    board.Form_Load();
    QImage target(board.size(), QImage::Format_RGB32);
    int i = 0;
    for (auto _ : state) {
        ++i;
        for (int n = 1; n <= 50; ++n)
            board.Degit[size_t(n)]->setValue(kValues[(n + i) % 6]);
        board.render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_Board_Repaint)->Unit(benchmark::kMicrosecond);

// Prints the M_Degit / QLCDNumber ratio after the table.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs) {
            if (r.benchmark_name() == "BM_M_Degit_Draw4")
                degit_ = r.GetAdjustedCPUTime();
            if (r.benchmark_name() == "BM_QLCDNumber_Draw4")
                lcd_ = r.GetAdjustedCPUTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        if (degit_ > 0 && lcd_ > 0) {
            std::printf("M_Degit / QLCDNumber (4 digits, CPU time): %.2f\n", degit_ / lcd_);
            benchsummary::row("M_Degit, four digits drawn, CPU µs", degit_ / 1000.0, "QLCDNumber, the same digits",
                              lcd_ / 1000.0);
        }
    }

private:
    double degit_ = 0, lcd_ = 0;
};
} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    return benchmain::run<RatioReporter>(argc, argv);
}
