#!/usr/bin/env bash
# Writes the seed corpus of fuzz_plugin: the two sample plug-ins and
# variants of them that reach the reader's other paths (each symbology and
# mode, notes as one text, a declared 2, every date token, and a few broken
# files). Run from anywhere; the corpus is kept in fuzz/corpus/plugin.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
samples=$root/data/demo/plugins
out=$root/fuzz/corpus/plugin
rm -rf "$out"
mkdir -p "$out"

cp "$samples/basic.4SP" "$out/basic.4SP"
cp "$samples/full.4SP" "$out/full.4SP"

full() { # name sed-expression...
  local name=$1
  shift
  local args=()
  for e in "$@"; do args+=(-e "$e"); done
  sed "${args[@]}" "$samples/full.4SP" >"$out/$name.4SP"
}
full qr 's/"NW-7"/"QR"/'
full itf 's/"NW-7"/"ITF"/'
full code128 's/"NW-7"/"Code128"/'
full sequential 's/"mode": 2/"mode": 1/' 's/, "direction": 0//'
full wide-ranges 's/"routeMax": 99/"routeMax": 9999/' 's/"stopTo": 99/"stopTo": 999/'
full all-date-tokens 's/{era}{ey}年{m}月{d}日({w})/{yyyy}{yy}{mm}{m}{dd}{d}{era}{ey}{w}{{}}/'
full unknown-key 's/"caption": true/"caption": true, "captoin": true/'
full out-of-ticket 's/"x": 0, "y": 283/"x": 10, "y": 283/'
sed -e 's/"date": 1/"date": 2/' -e 's/"kind": "date",/"kind": "text", "text": "日付なし",/' \
  -e 's/"format": "{era}{ey}年{m}月{d}日",//' "$samples/basic.4SP" >"$out/date-declared-2.4SP"
tr '\n' ' ' <"$samples/basic.4SP" | sed -e 's/"notes": \[[^]]*\]/"notes": "一行目\\n二行目"/' >"$out/notes-text.4SP"
head -c 600 "$samples/full.4SP" >"$out/truncated.4SP"
printf '{"format": "k27-ticket/1", "preview": {"width": 300, "height": 300}, "prints": {"date": 0, "time": 0, "route": 0, "stopName": 0, "barcode": 0}, "ticket": {"width": 20, "height": 20, "items": [{"kind": "box", "x": 0, "y": 0, "width": 20, "height": 20, "borderWidth": 1}]}}' >"$out/smallest.4SP"
ls "$out" | wc -l
