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
# sources. Any crash, leak, timeout or sanitizer report fails the run; every
# target runs even after one failed, so one run shows them all.
set -uo pipefail
cd "$(dirname "$0")/.."

mode=${1:?usage: scripts/fuzz.sh smoke|long <build> <seconds|runs>}
build=${2:?build folder}
amount=${3:?seconds or runs}
case "$mode" in smoke | long) ;; *) echo "unknown mode $mode" >&2; exit 2 ;; esac

# Stops at the first report; LSan checks for leaks after every input.
export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}

shopt -s nullglob
sources=(fuzz/fuzz_*.cpp)
if [ ${#sources[@]} -eq 0 ]; then
    echo "no fuzz targets in fuzz/" >&2
    exit 1
fi

failed=()
for src in "${sources[@]}"; do
    target=$(basename "$src" .cpp)
    name=${target#fuzz_}
    bin=$build/fuzz/$target
    if [ ! -x "$bin" ]; then
        echo "== $target: not built ($bin)" >&2
        failed+=("$target")
        continue
    fi

    regressions=(fuzz/regressions/"$name"/*)
    if [ "$mode" = smoke ] && [ ${#regressions[@]} -gt 0 ]; then
        # Given files, libFuzzer runs each of them once.
        echo "== $target: replaying ${#regressions[@]} regression input(s)"
        if ! "$bin" -timeout=10 "${regressions[@]}"; then
            echo "== $target: a regression input fails again" >&2
            failed+=("$target")
            continue
        fi
    fi

    work=$build/fuzz-corpus/$name
    mkdir -p "$work"
    corpora=("$work")
    [ -d fuzz/corpus/"$name" ] && corpora+=(fuzz/corpus/"$name")
    if [ "$mode" = smoke ]; then
        artifacts=$build/fuzz-artifacts/$name/
        limit=(-max_total_time="$amount")
    else
        artifacts=fuzz/regressions/$name/
        limit=(-runs="$amount")
    fi
    mkdir -p "$artifacts"

    echo "== $target: ${limit[*]} from ${corpora[*]}"
    if ! "$bin" "${limit[@]}" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$artifacts" "${corpora[@]}"; then
        echo "== $target: FAILED; the input is in $artifacts" >&2
        failed+=("$target")
    fi
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzzing failed: ${failed[*]}" >&2
    exit 1
fi
echo "fuzzing passed: ${#sources[@]} target(s)"
