// A settings save and a settings load through the real windows, each beside
// a baseline from the same run:
// - save: every record taken from the options window, the control panel and
//   the board, encoded and put in place of the file (a new file written and
//   renamed over the old), against writing the same bytes with a plain
//   QFile;
// - load: the file read and decoded, the records given back to the windows
//   and the options applied to the board, against reading the bytes.
#include "app/SettingsFile.h"
#include "bench/BenchMain.h"
#include "bench/Summary.h"
#include "board/Form1.h"
#include "board/degit/M_Degit.h"
#include "board/mdlK27_000.h"
#include "control/frmCtl.h"
#include "options/frmOption.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>

namespace {

struct Windows {
    QTemporaryDir dir;
    QString path;
    Form1 board;
    frmOption options;
    frmCtl panel;

    Windows() : path(dir.filePath(QStringLiteral("K27.in4"))) {
        board.setControlPanel(&panel);
        options.setWindows(&board, &panel);
        panel.setWindows(&board, &options);
        board.Form_Load();
        options.applyModelPresets(mdlK27_000::modelPresets());
    }

    SettingsRecord gather() const {
        SettingsRecord r;
        options.GetOptionInfo(r.Options);
        panel.GetCtrlDataInfo(r.CtlPanel);
        board.GetFormInfo(r.BoardPos);
        r.CustColors = options.CustColors;
        for (int n = 1; n <= 50; ++n) {
            const M_Degit* d = board.Degit[size_t(n)];
            r.DegitModes[size_t(n - 1)] = {d->Shift(), d->ZeroMode(), d->FillZero()};
        }
        return r;
    }

    void apply(const SettingsRecord& r) {
        options.SetOptionInfo(r.Options);
        options.CustColors = r.CustColors;
        panel.SetCtrlDataInfo(r.CtlPanel);
        board.SetFormInfo(r.BoardPos);
        for (int n = 1; n <= 50; ++n) {
            M_Degit* d = board.Degit[size_t(n)];
            const DegitModeRec& m = r.DegitModes[size_t(n - 1)];
            d->setShift(m.Shift);
            d->setZeroMode(m.ZeroMode);
            d->setFillZero(m.FillZero);
        }
        options.SetProp();
    }
};

Windows& windows() {
    static Windows w;
    return w;
}

void BM_SettingsSave(benchmark::State& state) {
    Windows& w = windows();
    for (auto _ : state) {
        const QByteArray bytes = mdlIniIo::encodeSettings(w.gather());
        mdlIniIo::writeSettingsFile(w.path, bytes);
    }
}
BENCHMARK(BM_SettingsSave)->Unit(benchmark::kMicrosecond);

void BM_Baseline_WriteBytes(benchmark::State& state) {
    Windows& w = windows();
    const QByteArray bytes = mdlIniIo::encodeSettings(w.gather());
    const QString path = w.dir.filePath(QStringLiteral("plain.in4"));
    for (auto _ : state) {
        QFile f(path);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(bytes);
    }
}
BENCHMARK(BM_Baseline_WriteBytes)->Unit(benchmark::kMicrosecond);

void BM_SettingsLoad(benchmark::State& state) {
    Windows& w = windows();
    mdlIniIo::writeSettingsFile(w.path, mdlIniIo::encodeSettings(w.gather()));
    for (auto _ : state)
        w.apply(mdlIniIo::decodeSettings(mdlIniIo::readSettingsFile(w.path)).record);
}
BENCHMARK(BM_SettingsLoad)->Unit(benchmark::kMicrosecond);

void BM_Baseline_ReadBytes(benchmark::State& state) {
    Windows& w = windows();
    mdlIniIo::writeSettingsFile(w.path, mdlIniIo::encodeSettings(w.gather()));
    for (auto _ : state) {
        QFile f(w.path);
        f.open(QIODevice::ReadOnly);
        benchmark::DoNotOptimize(f.readAll().constData());
    }
}
BENCHMARK(BM_Baseline_ReadBytes)->Unit(benchmark::kMicrosecond);

// Prints each operation beside its baseline after the table.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs) {
            times_[r.benchmark_name()] = r.GetAdjustedRealTime();
            cpu_[r.benchmark_name()] = r.GetAdjustedCPUTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        auto line = [this](const char* what, const char* name, const char* baselineWhat, const char* baseline) {
            if (!times_.count(name) || !times_.count(baseline))
                return;
            std::printf("%s: %.3f ms (CPU %.3f ms); %s: %.3f ms (CPU %.3f ms)\n", what, times_[name] / 1000.0,
                        cpu_[name] / 1000.0, baselineWhat, times_[baseline] / 1000.0, cpu_[baseline] / 1000.0);
            benchsummary::row(std::string(what) + ", ms", times_[name] / 1000.0, baselineWhat,
                              times_[baseline] / 1000.0,
                              "CPU " + benchsummary::number(cpu_[name] / 1000.0) + " vs " +
                                  benchsummary::number(cpu_[baseline] / 1000.0) + " ms");
        };
        line("settings save", "BM_SettingsSave", "the same bytes written plainly", "BM_Baseline_WriteBytes");
        line("settings load, applied to the windows", "BM_SettingsLoad", "the bytes read plainly",
             "BM_Baseline_ReadBytes");
    }

private:
    std::map<std::string, double> times_, cpu_;
};

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    return benchmain::run<RatioReporter>(argc, argv);
}
