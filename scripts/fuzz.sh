#!/usr/bin/env bash
# Runs every fuzz target (fuzz/fuzz_<name>.cpp, built into <build>/fuzz/).
#
#   scripts/fuzz.sh smoke <build> <seconds>   replays fuzz/regressions/<name>/,
#                                             then fuzzes each target briefly
#   scripts/fuzz.sh long  <build> <runs>      fuzzes each target for <runs>
#                                             executions; a crashing input is
#                                             kept in fuzz/regressions/<name>/
#
# Each target starts from its seed corpus fuzz/corpus/<name>/ where there is
# one; what it finds goes to <build>/fuzz-corpus/<name>/, never into the
# sources. Targets run side by side, FUZZ_JOBS at a time (default: one per
# processor), each into <build>/fuzz-logs/<name>.log; FUZZ_TARGETS="hy3
# plugin" runs only the targets named. Any crash, leak,
# timeout, memory blow-up or sanitizer report fails the run; every target
# runs even after one failed, so one run shows them all.
set -uo pipefail
cd "$(dirname "$0")/.."

mode=${1:?usage: scripts/fuzz.sh smoke|long <build> <seconds|runs>}
build=${2:?build folder}
amount=${3:?seconds or runs}
case "$mode" in smoke | long) ;; *) echo "unknown mode $mode" >&2; exit 2 ;; esac
jobs=${FUZZ_JOBS:-$(nproc)}

# Stops at the first report; LSan checks for leaks after every input.
export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}

shopt -s nullglob
sources=(fuzz/fuzz_*.cpp)
if [ ${#sources[@]} -eq 0 ]; then
    echo "no fuzz targets in fuzz/" >&2
    exit 1
fi
logs=$build/fuzz-logs
mkdir -p "$logs"

# One target: the regression inputs first (smoke), then fuzzing. Writes its
# log and leaves its exit status in <log>.status.
run_target() {
    local target=$1 name=${1#fuzz_}
    local bin=$build/fuzz/$target log=$logs/$name.log
    {
        if [ ! -x "$bin" ]; then
            echo "not built: $bin"
            return 1
        fi
        local regressions=(fuzz/regressions/"$name"/*)
        if [ "$mode" = smoke ] && [ ${#regressions[@]} -gt 0 ]; then
            # Given files, libFuzzer runs each of them once.
            echo "replaying ${#regressions[@]} regression input(s)"
            "$bin" -timeout=10 "${regressions[@]}" || {
                echo "a regression input fails again"
                return 1
            }
        fi

        local work=$build/fuzz-corpus/$name artifacts limit
        mkdir -p "$work"
        local corpora=("$work")
        [ -d fuzz/corpus/"$name" ] && corpora+=(fuzz/corpus/"$name")
        if [ "$mode" = smoke ]; then
            artifacts=$build/fuzz-artifacts/$name/
            limit=-max_total_time=$amount
        else
            artifacts=fuzz/regressions/$name/
            limit=-runs=$amount
        fi
        mkdir -p "$artifacts"
        echo "$limit from ${corpora[*]}"
        "$bin" "$limit" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
            -artifact_prefix="$artifacts" "${corpora[@]}" || {
            echo "FAILED; the input is in $artifacts"
            return 1
        }
    } >"$log" 2>&1
}

targets=()
for src in "${sources[@]}"; do
    target=$(basename "$src" .cpp)
    if [ -n "${FUZZ_TARGETS:-}" ] && [[ " $FUZZ_TARGETS " != *" ${target#fuzz_} "* ]]; then
        continue
    fi
    targets+=("$target")
done
if [ ${#targets[@]} -eq 0 ]; then
    echo "no fuzz target named in FUZZ_TARGETS=$FUZZ_TARGETS" >&2
    exit 1
fi
echo "fuzzing ${#targets[@]} target(s), $jobs at a time ($mode: $amount); logs in $logs/"
for target in "${targets[@]}"; do
    while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do
        wait -n
    done
    (
        run_target "$target"
        echo $? >"$logs/${target#fuzz_}.log.status"
    ) &
done
wait

failed=()
for target in "${targets[@]}"; do
    log=$logs/${target#fuzz_}.log
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    cov=$(grep -aoE '(DONE|INITED) +cov: [0-9]+' "$log" | tail -1 | grep -oE '[0-9]+$')
    rss=$(sed -n 's/^stat::peak_rss_mb: *//p' "$log" | tail -1)
    if [ "$(cat "$log.status" 2>/dev/null)" = 0 ]; then
        echo "== $target: passed, ${runs:-?} executions, ${cov:-?} edges, peak ${rss:-?} MB"
    else
        failed+=("$target")
        # The report from its first line, or the end of the log.
        echo "== $target: FAILED; from $log:"
        first=$(grep -anE 'ERROR: |runtime error:|not built|fails again' "$log" | head -1 | cut -d: -f1)
        if [ -n "$first" ]; then
            tail -n +"$first" "$log" | head -n 80
        else
            tail -n 40 "$log"
        fi
    fi
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzzing failed: ${failed[*]}" >&2
    exit 1
fi
echo "fuzzing passed: ${#targets[@]} target(s)"
