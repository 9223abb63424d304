// Speed of the control panel's two heavy operations, each beside a baseline
// from the same run:
// - the board refresh DispData for a full row (50 fares, four information
//   digits, the board rendered) against the same 50 values put on 50 of
//   Qt's QLCDNumber at the same places and rendered;
// - the reset ResetRoute of a 301-stop route, with the 3000 ms lamp-test
//   pause taken out, against reading the same file's bytes.
#include "bench/BenchMain.h"
#include "bench/Summary.h"
#include "board/Form1.h"
#include "board/mdlK27_000.h"
#include "control/FareData.h"
#include "control/frmCtl.h"
#include "options/frmOption.h"
#include "platform/Clock.h"
#include "platform/Platform.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLCDNumber>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace {

// Pauses take no time; the clock still tells the real date.
class NoPauseClock : public platform::Clock {
public:
    void Sleep(int) override {}
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    qint64 elapsedMs() const override { return 0; }
};

// A 301-stop route with names of two to eight characters.
QByteArray route301() {
    QList<StopRecord> rows;
    for (int s = 1; s <= 301; ++s) {
        StopRecord r;
        r.Chimei = QStringLiteral("停留所前東口").left(2 + s % 7) + QString::number(s);
        r.SeiriNum = qint16(s);
        for (int c = 1; c <= 150; ++c)
            r.DataCol[size_t(c - 1)] = qint16(c <= 50 ? 150 + 10 * ((s + c) % 60) : s % 4);
        rows << r;
    }
    return writeHy3(rows);
}

// The three windows wired together, with route 301 in a temporary folder
// and entered on the keypad.
struct Panel {
    NoPauseClock clock;
    platform::ScopedInstall<platform::Clock> noPause{clock};
    QTemporaryDir dir;
    QString path;
    Form1 board;
    frmOption options;
    frmCtl panel;

    Panel() {
        path = dir.filePath(QStringLiteral("301.hy3"));
        QFile f(path);
        if (f.open(QIODevice::WriteOnly))
            f.write(route301());
        f.close();
        board.setControlPanel(&panel);
        options.setWindows(&board, &panel);
        panel.setWindows(&board, &options);
        board.Form_Load();
        options.applyModelPresets(mdlK27_000::modelPresets());
        options.Text2[0]->setText(dir.path());
        panel.Label2[0]->setText(QStringLiteral("301"));
        panel.Label2[2]->setText(QStringLiteral("1"));
    }
};

void BM_DispData_FullRow(benchmark::State& state) {
    Panel p;
    p.panel.ResetRoute(1);
    // Four information digits over the fares.
    for (int k = 0; k < 4; ++k) {
        p.options.Check3[size_t(k)]->setChecked(true);
        p.options.Combo4[size_t(k)]->setCurrentIndex(k);
    }
    QImage target(p.board.size(), QImage::Format_RGB32);
    qint16 row = 1;
    for (auto _ : state) {
        row = qint16(row % 300 + 1);
        p.panel.DispData(row);
        p.board.render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_DispData_FullRow)->Unit(benchmark::kMicrosecond);

void BM_QLCDNumber_50Values(benchmark::State& state) {
    QWidget board;
    board.setFixedSize(Form1().size());
    std::array<QLCDNumber*, 50> lcd{};
    for (int n = 1; n <= 50; ++n) {
        auto* d = new QLCDNumber(4, &board);
        d->setSegmentStyle(QLCDNumber::Filled);
        d->setFrameShape(QFrame::NoFrame);
        const QRect r = Form1::degitRectTwips(n);
        d->setGeometry(r.x() / 15, r.y() / 15, r.width() / 15, r.height() / 15);
        lcd[size_t(n - 1)] = d;
    }
    QImage target(board.size(), QImage::Format_RGB32);
    int row = 1;
    for (auto _ : state) {
        row = row % 300 + 1;
        for (int n = 1; n <= 50; ++n)
            lcd[size_t(n - 1)]->display(150 + 10 * ((row + n) % 60));
        board.render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_QLCDNumber_50Values)->Unit(benchmark::kMicrosecond);

void BM_ResetRoute_301Stops(benchmark::State& state) {
    Panel p;
    for (auto _ : state) {
        p.panel.ResetRoute(1);
        benchmark::DoNotOptimize(p.panel.fareData().DataCount);
    }
}
BENCHMARK(BM_ResetRoute_301Stops)->Unit(benchmark::kMicrosecond);

void BM_ReadFileBytes_301Stops(benchmark::State& state) {
    Panel p;
    for (auto _ : state) {
        QFile f(p.path);
        f.open(QIODevice::ReadOnly);
        const QByteArray bytes = f.readAll();
        benchmark::DoNotOptimize(bytes.constData());
    }
}
BENCHMARK(BM_ReadFileBytes_301Stops)->Unit(benchmark::kMicrosecond);

// Prints each operation's time against its baseline after the table.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs)
            times_[r.benchmark_name()] = r.GetAdjustedCPUTime();
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        auto t = [this](const char* name) { return times_.count(name) ? times_[name] : 0.0; };
        if (t("BM_DispData_FullRow") > 0 && t("BM_QLCDNumber_50Values") > 0) {
            std::printf("DispData / 50 QLCDNumber (full row, rendered, CPU time): %.2f (aim <= 0.5)\n",
                        t("BM_DispData_FullRow") / t("BM_QLCDNumber_50Values"));
            benchsummary::row("DispData, a full row rendered, CPU µs", t("BM_DispData_FullRow"),
                              "the same 50 values on QLCDNumber", t("BM_QLCDNumber_50Values"));
        }
        if (t("BM_ResetRoute_301Stops") > 0 && t("BM_ReadFileBytes_301Stops") > 0) {
            std::printf("ResetRoute, 301 stops, pause taken out (CPU time): %.2f ms (aim < 5 ms); reading the bytes: "
                        "%.3f ms; ratio %.1f\n",
                        t("BM_ResetRoute_301Stops") / 1000.0, t("BM_ReadFileBytes_301Stops") / 1000.0,
                        t("BM_ResetRoute_301Stops") / t("BM_ReadFileBytes_301Stops"));
            benchsummary::row("reset of a 301-stop route without the lamp-test pause, CPU ms",
                              t("BM_ResetRoute_301Stops") / 1000.0, "reading the same file plainly",
                              t("BM_ReadFileBytes_301Stops") / 1000.0);
        }
    }

private:
    std::map<std::string, double> times_;
};

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    return benchmain::run<RatioReporter>(argc, argv);
}
