#!/usr/bin/env bash
# Writes the seed corpus of fuzz_tapecsv: the demo routes' broadcast data
# files and small files of our own that reach the reader's other paths
# (quoted texts with commas and doubled quotes, CR LF and a last line
# without an end, blank, signed and padded flags, a flag too large for 16
# bits, bytes that form no Shift-JIS character). Run from anywhere; the
# corpus is kept in fuzz/corpus/tapecsv.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/fuzz/corpus/tapecsv
rm -rf "$out"
mkdir -p "$out"

cp "$root/data/demo/12tp.csv" "$out/demo12tp.csv"
cp "$root/data/demo/105tp.csv" "$out/demo105tp.csv"

sjis() { iconv -f UTF-8 -t CP932; }

printf '"次は、本町二丁目です。本町、駅前方面",1,1\r\n"""若葉台"" 行きです。",0,2\r\n  次は、終点です。 ,1,3' |
  sjis >"$out/quoted-crlf.csv"
printf 'ふらぐなし\n空の旗,,\n符号つき,+1,-0\n先頭ゼロ,0001,00003\n空白, 1 ,\t2\t\n' | sjis >"$out/flags.csv"
printf '大きすぎる旗,40000,1\n' | sjis >"$out/flag-too-large.csv"
printf '"閉じない引用,1,1\n"引用"のあと,1,1\n' | sjis >"$out/unterminated-quote.csv"
printf '\n\r\n,,\n' >"$out/blank-lines.csv"
# A lone lead byte, a bad trail byte and bytes no character starts with.
printf '\x81\x20\xFF\x80\xA0,1,1\r\n\x82' >"$out/broken-shift-jis.csv"
ls "$out" | wc -l
