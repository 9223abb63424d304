#!/usr/bin/env bash
# Makes the seed corpora of the fare-file fuzzers from our own demo route and
# a few small files of our own, with hy3tool from a normal build:
#   bash fuzz/make-corpus.sh [path to hy3tool]   (default build/tools/hy3tool)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
tool="${1:-$root/build/tools/hy3tool}"
hy3="$root/fuzz/corpus/hy3"
csv="$root/fuzz/corpus/farecsv"
mkdir -p "$hy3" "$csv"

# CSV seeds: the demo route, a two-stop route in the forms spreadsheets
# write (byte-order mark, CR LF, quotes), and one with a problem of each kind.
cp "$root/data/demo/12.csv" "$csv/demo12.csv"
header="$(head -n 1 "$root/data/demo/12.csv")"
zeros="$(printf ',0%.0s' $(seq 1 148))"
{
  printf '\xEF\xBB\xBF%s\r\n' "$header"
  printf '"北口,のりば",1,170,-1%s\r\n' "$zeros"
  printf '"""本町""\r\n二丁目",2,190,170%s\r\n' "$zeros"
} > "$csv/two-stops.csv"
{
  printf '%s\n' "$header"
  printf 'A,1,12.5,-1%s\n' "$zeros"
  printf 'B,2,40000,170%s,0\n' "$zeros"
  printf '\n'
  printf '"C"x,3,,170%s\n' "$zeros"
  printf '"D,4\n'
} > "$csv/problems.csv"

# Fare-file seeds: both good routes built by hy3tool, and the ways a file
# goes wrong: no count, a count of 0, 302 records announced, cut short in
# a name, a name length past the end, bytes after the last record.
"$tool" build "$csv/demo12.csv" -o "$hy3/demo12.hy3" >/dev/null
"$tool" build "$csv/two-stops.csv" -o "$hy3/two-stops.hy3" >/dev/null
printf '\x05' > "$hy3/no-count.hy3"
printf '\x00\x00' > "$hy3/zero.hy3"
printf '\x2E\x01' > "$hy3/count302.hy3"
head -c 40 "$hy3/demo12.hy3" > "$hy3/cut-in-name.hy3"
printf '\x01\x00\xFF\xFFAB' > "$hy3/name-past-end.hy3"
{ cat "$hy3/two-stops.hy3"; printf 'extra'; } > "$hy3/trailing.hy3"
ls "$hy3" "$csv"
