#pragma once
// The main() of every benchmark program: a QApplication, then Google
// Benchmark's run with the program's own reporter, which prints each figure
// beside its baseline.
#include <QApplication>
#include <benchmark/benchmark.h>

namespace benchmain {

template <class Reporter> int run(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    Reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

} // namespace benchmain
