#pragma once
// An opt-in start-up probe for measurements. With K27_REPORT_FIRST_PAINT set
// in the environment, the first complete paint of the watched window (its
// own paint, its children's and the flush) prints one line to standard
// output:
//
//   first-paint ms=<since process start> mono-ns=<CLOCK_MONOTONIC> cpu-ms=<process CPU time>
//
// ms is counted from the process's start as the kernel records it (10 ms
// steps); a driver that noted CLOCK_MONOTONIC before starting the process
// subtracts that from mono-ns for an exact figure. With the value "quit" the
// process then ends at once, saving nothing. Without the variable nothing is
// watched and the cost is one environment look-up.
class QWidget;

namespace platform {

void watchFirstPaint(QWidget* window);

// With K27_TRACE_STARTUP set, prints one line to standard error:
//   startup <what> wall-ms=<since process start> cpu-ms=<process CPU time>
// so the stages of the start-up can be timed in the program as built.
// Without the variable it costs one cached look-up.
void startupMark(const char* what);

} // namespace platform
