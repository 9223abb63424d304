#pragma once
// The rows of the summary table that bench/run.sh prints at the end of a
// run: each benchmark program appends its headline figures, each beside the
// baseline measured in the same run, to the file that K27_BENCH_SUMMARY
// names (one tab-separated row per figure). Without the variable nothing is
// written, so a benchmark run on its own prints only its own report.
#include <cstdio>
#include <cstdlib>
#include <string>

namespace benchsummary {

// A number with as many decimals as its size deserves.
inline std::string number(double v) {
    char buf[32];
    const double a = v < 0 ? -v : v;
    std::snprintf(buf, sizeof buf, a >= 100 ? "%.0f" : a >= 10 ? "%.1f" : a >= 1 ? "%.2f" : "%.3f", v);
    return buf;
}

// figure: what is measured, with its unit ("start-up to first paint, CPU ms");
// baseline: what it is compared with. The ratio is value / baselineValue.
inline void row(const std::string& figure, double value, const std::string& baseline, double baselineValue,
                const std::string& note = {}) {
    const char* path = std::getenv("K27_BENCH_SUMMARY");
    if (!path || !*path)
        return;
    FILE* f = std::fopen(path, "a");
    if (!f)
        return;
    const std::string ratio = baselineValue > 0 ? number(value / baselineValue) + "x" : std::string("-");
    std::fprintf(f, "%s\t%s\t%s\t%s\t%s\t%s\n", figure.c_str(), number(value).c_str(), baseline.c_str(),
                 number(baselineValue).c_str(), ratio.c_str(), note.c_str());
    std::fclose(f);
}

} // namespace benchsummary
