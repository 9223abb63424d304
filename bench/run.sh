#!/usr/bin/env bash
# Runs every benchmark of the build; each prints its figures next to the
# baseline it is compared with, measured in the same run.
set -euo pipefail
build=${1:-build}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
shopt -s nullglob

# Start-up and idle memory first, while nothing else of ours has run.
if [ -x "$build/bench/startup" ] && [ -x "$build/K27" ] && [ -x "$build/bench/bare_window" ]; then
  echo "== startup"
  "$build/bench/startup" "$build/K27" "$build/bench/bare_window"
fi

found=0
for b in "$build"/bench/bench_*; do
  # Only the programs: the build keeps each one's generated sources in a
  # folder named after it (bench_x_autogen).
  [ -f "$b" ] && [ -x "$b" ] || continue
  found=1
  echo "== $(basename "$b")"
  "$b"
done
[ "$found" = 1 ] || echo "no benchmarks built (is libbenchmark-dev installed?)"
