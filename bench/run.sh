#!/usr/bin/env bash
# Runs every benchmark of the build; each prints its figures next to the
# baseline it is compared with, measured in the same run, and adds its
# headline figures to the summary table printed at the end.
#
#   bash bench/run.sh [build-folder]
#
# K27 starts in two cases, each from a copy of the program in a folder of
# its own, so that the settings file beside it (K27.in4) is fixed and no
# start reads what an earlier one left:
#   first start      no settings file: the windows' defaults;
#   demo settings    the demo's settings (data/demo/settings.json, made with
#                    in4tool demo): its sounds, MIDI file, panel pictures and
#                    ticket plug-in, as a user's first start with the demo
#                    has them.
# The first start is measured once more against bench/text_window, the bare
# window with the board's Japanese text, and against
# bench/two_text_windows, the text of both of K27's windows (the control
# panel's captions, then the board's) shown in K27's order without K27;
# that program is also measured against the bare window. These are for
# comparison only: they show what drawing the text costs by itself.
# STARTUP_PAIRS and MEMORY_PAIRS set how many paired runs the start-up and
# idle-memory figures take their medians over.
set -euo pipefail
build=${1:-build}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
here=$(cd "$(dirname "$0")" && pwd)
shopt -s nullglob

work=$(mktemp -d "${TMPDIR:-/tmp}/k27-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
export K27_BENCH_SUMMARY="$work/summary.tsv"
: >"$K27_BENCH_SUMMARY"
load() { cut -d' ' -f1-3 /proc/loadavg; }
echo "load average at the start: $(load) ($(nproc) processors)"

# A copy of K27 (and its sound module) in a folder of its own.
program_copy() {
  mkdir -p "$work/$1"
  cp "$build/K27" "$work/$1/"
  [ -f "$build/libk27media.so" ] && cp "$build/libk27media.so" "$work/$1/"
  echo "$work/$1/K27"
}

# Start-up and idle memory first, while nothing else of ours has run.
if [ -x "$build/bench/startup" ] && [ -x "$build/K27" ] && [ -x "$build/bench/bare_window" ]; then
  first=$(program_copy first-start)
  echo "== startup, first start (no settings file)"
  "$build/bench/startup" "$first" "$build/bench/bare_window" "${STARTUP_PAIRS:-15}" "${MEMORY_PAIRS:-3}" \
    "first start"
  if [ -x "$build/tools/in4tool" ]; then
    demo=$(program_copy demo)
    "$build/tools/in4tool" demo "$here/../data/demo" -o "$(dirname "$demo")/K27.in4" >/dev/null
    echo "== startup, demo settings"
    "$build/bench/startup" "$demo" "$build/bench/bare_window" "${STARTUP_PAIRS:-15}" "${MEMORY_PAIRS:-3}" \
      "demo settings"
  fi
  # For comparison: the bare window with the board's Japanese text, the
  # least any program writing that text pays before its first paint.
  if [ -x "$build/bench/text_window" ]; then
    echo "== startup, first start, against the window with the board's text"
    "$build/bench/startup" "$first" "$build/bench/text_window" "${STARTUP_PAIRS:-15}" 0 "first start" \
      "bare window with the board's text"
  fi
  # The least any program pays that shows the text of K27's two windows in
  # K27's order, against the bare window and against K27.
  if [ -x "$build/bench/two_text_windows" ]; then
    echo "== startup, the two windows' text without K27, against the bare window"
    "$build/bench/startup" "$build/bench/two_text_windows" "$build/bench/bare_window" "${STARTUP_PAIRS:-15}" 0 \
      "the two windows' text alone (no K27)" "bare Qt window" "text only"
    echo "== startup, first start, against the two windows' text without K27"
    "$build/bench/startup" "$first" "$build/bench/two_text_windows" "${STARTUP_PAIRS:-15}" 0 "first start" \
      "two windows' text alone (no K27)"
  fi
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

echo
echo "== summary (load average at the end: $(load); $(nproc) processors)"
echo
echo "| figure | K27 | baseline | baseline figure | ratio | note |"
echo "|---|---:|---|---:|---:|---|"
while IFS=$'\t' read -r figure value baseline base ratio note; do
  echo "| $figure | $value | $baseline | $base | $ratio | $note |"
done <"$K27_BENCH_SUMMARY"
