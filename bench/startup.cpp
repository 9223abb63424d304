// Start-up and idle-memory benchmark: K27 against the bare Qt window
// (bare_window), measured in the same run.
//
//   startup <K27> <bare_window> [pairs] [memory-pairs] [case] [baseline name]
//           [program name]
//
// case names the settings K27 starts with (its K27.in4, beside it) in the
// printed report and the summary rows (bench/Summary.h). A baseline name
// other than the bare window's marks the figures "for comparison": the
// limits apply to the bare window only. The program name heads the first
// column of the printed report (K27 unless given): another floor program
// can be measured against the bare window the same way.
//
// Start-up: each program is started `pairs` times, alternating which of the
// two goes first in a pair, with K27_REPORT_FIRST_PAINT=quit. The wall time
// runs from just before the process is spawned to the monotonic time the
// program prints at its first complete paint; the CPU time is the process's
// own (all threads) at that moment, which a busy machine disturbs much less.
// Idle memory: both programs run side by side `memory-pairs` times; 5 s
// after the first paint VmRSS and VmHWM are read from /proc/<pid>/status,
// then the programs are killed: an orderly end would save K27's settings
// and so change what the next start reads. Medians are printed, each beside
// the bare program's and the ratio.
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "bench/Summary.h"

extern char** environ;

namespace {

long long monotonicNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

double median(std::vector<double> v) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

struct Child {
    pid_t pid = -1;
    int out = -1; // read end of its standard output
};

// Starts program with K27_REPORT_FIRST_PAINT=mode added to the environment.
Child spawn(const std::string& program, const std::string& mode) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "K27_REPORT_FIRST_PAINT=", 23) != 0)
            env.emplace_back(*e);
    env.push_back("K27_REPORT_FIRST_PAINT=" + mode);
    std::vector<char*> envp;
    for (auto& s : env)
        envp.push_back(s.data());
    envp.push_back(nullptr);

    int fds[2];
    if (pipe(fds) != 0) {
        std::perror("pipe");
        std::exit(2);
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    // Their warnings (no sound device, no window manager) are no figures.
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addclose(&actions, fds[1]);
    std::string arg0 = program;
    char* argv[] = {arg0.data(), nullptr};
    Child c;
    const int rc = posix_spawn(&c.pid, program.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (rc != 0) {
        std::fprintf(stderr, "cannot start %s: %s\n", program.c_str(), std::strerror(rc));
        std::exit(2);
    }
    c.out = fds[0];
    return c;
}

struct Report {
    long long monoNs = 0;
    double cpuMs = 0;
};

// Reads the child's output until its first-paint line, or nothing after
// timeoutMs.
std::optional<Report> awaitFirstPaint(const Child& c, int timeoutMs = 30000) {
    std::string text;
    const long long deadline = monotonicNs() + static_cast<long long>(timeoutMs) * 1'000'000;
    for (;;) {
        const size_t at = text.find("first-paint ");
        if (at != std::string::npos && text.find('\n', at) != std::string::npos) {
            Report r;
            const size_t mono = text.find("mono-ns=", at), cpu = text.find("cpu-ms=", at);
            if (mono == std::string::npos || cpu == std::string::npos)
                return std::nullopt;
            r.monoNs = std::atoll(text.c_str() + mono + 8);
            r.cpuMs = std::atof(text.c_str() + cpu + 7);
            return r;
        }
        const long long left = (deadline - monotonicNs()) / 1'000'000;
        if (left <= 0)
            return std::nullopt;
        pollfd p{c.out, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left)) <= 0)
            continue;
        char buf[512];
        const ssize_t n = read(c.out, buf, sizeof buf);
        if (n <= 0)
            return std::nullopt;
        text.append(buf, static_cast<size_t>(n));
    }
}

// Waits for the child's end; its CPU time over the whole run, in ms.
double reap(Child& c) {
    int status = 0;
    rusage use{};
    while (wait4(c.pid, &status, 0, &use) < 0 && errno == EINTR) {
    }
    close(c.out);
    c.pid = -1;
    return double(use.ru_utime.tv_sec + use.ru_stime.tv_sec) * 1e3 +
           double(use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1e3;
}

struct StartRun {
    double wallMs = 0, cpuAtPaintMs = 0, cpuTotalMs = 0;
};

StartRun startOnce(const std::string& program) {
    const long long t0 = monotonicNs();
    Child c = spawn(program, "quit");
    const auto r = awaitFirstPaint(c);
    if (!r) {
        kill(c.pid, SIGKILL);
        reap(c);
        std::fprintf(stderr, "%s did not report its first paint\n", program.c_str());
        std::exit(1);
    }
    StartRun s;
    s.wallMs = double(r->monoNs - t0) / 1e6;
    s.cpuAtPaintMs = r->cpuMs;
    s.cpuTotalMs = reap(c);
    return s;
}

// VmRSS and VmHWM of a running process, in MB.
std::pair<double, double> memoryOf(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    double rss = 0, hwm = 0;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            rss = std::atof(line.c_str() + 6) / 1024.0;
        else if (line.rfind("VmHWM:", 0) == 0)
            hwm = std::atof(line.c_str() + 6) / 1024.0;
    }
    return {rss, hwm};
}

double loadAverage() {
    double avg[1] = {0};
    return getloadavg(avg, 1) == 1 ? avg[0] : -1;
}

// The baseline's name in the summary; the limits apply to the bare window
// only (the other baselines are there to show where the time goes).
struct Baseline {
    std::string name = "bare Qt window";
    bool limitsApply = true;
};

void row(const Baseline& base, const char* what, const std::vector<double>& k27, const std::vector<double>& bare,
         double limit, const std::string& summaryFigure = {}) {
    const double a = median(k27), b = median(bare);
    const double ratio = b > 0 ? a / b : 0;
    char note[64];
    if (base.limitsApply)
        std::snprintf(note, sizeof note, "limit %.1fx%s", limit, ratio <= limit ? "" : ", OVER");
    else
        std::snprintf(note, sizeof note, "for comparison");
    std::printf("  %-26s %9.1f %9.1f %7.2fx  (%s)\n", what, a, b, ratio, note);
    if (!summaryFigure.empty())
        benchsummary::row(summaryFigure, a, base.name, b, note);
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: %s <K27> <bare_window> [pairs] [memory-pairs] [case] [baseline name] [program name]\n",
                     argv[0]);
        return 2;
    }
    const std::string k27 = argv[1], bare = argv[2];
    const int pairs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 15;
    const int memoryPairs = argc > 4 ? std::max(0, std::atoi(argv[4])) : 3;
    const std::string label = argc > 5 ? argv[5] : "";
    const Baseline base = argc > 6 ? Baseline{argv[6], false} : Baseline{};
    const std::string programName = argc > 7 ? argv[7] : "K27";
    const std::string with = label.empty() ? std::string() : ", " + label;
    constexpr int kIdleMs = 5000;

    const double loadBefore = loadAverage();
    // One unmeasured start each, so both find their libraries in the cache.
    startOnce(bare);
    startOnce(k27);

    std::vector<double> kWall, bWall, kCpu, bCpu, kTotal, bTotal;
    for (int i = 0; i < pairs; ++i) {
        const bool k27First = i % 2 == 0;
        for (int j = 0; j < 2; ++j) {
            const bool isK27 = (j == 0) == k27First;
            const StartRun r = startOnce(isK27 ? k27 : bare);
            (isK27 ? kWall : bWall).push_back(r.wallMs);
            (isK27 ? kCpu : bCpu).push_back(r.cpuAtPaintMs);
            (isK27 ? kTotal : bTotal).push_back(r.cpuTotalMs);
        }
    }

    std::vector<double> kRss, bRss, kHwm, bHwm;
    for (int i = 0; i < memoryPairs; ++i) {
        Child ck = spawn(k27, "1"), cb = spawn(bare, "1");
        const bool ok = awaitFirstPaint(ck).has_value() && awaitFirstPaint(cb).has_value();
        if (ok) {
            std::this_thread::sleep_for(std::chrono::milliseconds(kIdleMs));
            const auto [kr, kh] = memoryOf(ck.pid);
            const auto [br, bh] = memoryOf(cb.pid);
            kRss.push_back(kr);
            kHwm.push_back(kh);
            bRss.push_back(br);
            bHwm.push_back(bh);
        }
        kill(ck.pid, SIGKILL);
        kill(cb.pid, SIGKILL);
        reap(ck);
        reap(cb);
        if (!ok) {
            std::fprintf(stderr, "a program did not report its first paint\n");
            return 1;
        }
    }

    std::printf("start-up to the first painted window%s, against the %s: %d paired runs, medians; load average "
                "%.2f before, %.2f after\n",
                with.c_str(), base.name.c_str(), pairs, loadBefore, loadAverage());
    std::printf("  %-26s %9s %9s %8s\n", "", programName.c_str(), "baseline", "ratio");
    row(base, "wall ms", kWall, bWall, 1.5, "start-up to first paint" + with + ", wall ms");
    row(base, "CPU ms at first paint", kCpu, bCpu, 1.5, "start-up to first paint" + with + ", CPU ms");
    row(base, "CPU ms whole run", kTotal, bTotal, 1.5);
    if (memoryPairs == 0)
        return 0;
    std::printf("memory after %d s idle: %d paired runs, medians\n", kIdleMs / 1000, memoryPairs);
    std::printf("  %-26s %9s %9s %8s\n", "", programName.c_str(), "baseline", "ratio");
    row(base, "VmRSS MB", kRss, bRss, 2.0, "memory 5 s after first paint" + with + ", VmRSS MB");
    row(base, "VmHWM (peak) MB", kHwm, bHwm, 2.0);
    return 0;
}
