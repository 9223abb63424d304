#!/usr/bin/env bash
# Makes the short sounds the sound tests play: a WAV and an MP3 tone made with
# sox and lame, and a two-note MIDI file written byte by byte. Everything is
# generated here; nothing is copied from elsewhere. Those a test waits
# for are as short as a length can still be measured.
#   bash tools/make-test-sounds.sh [output folder]   (default tests/data/sound)
set -euo pipefail
out="${1:-$(dirname "$0")/../tests/data/sound}"
mkdir -p "$out"

# 0.4 s of a 660 Hz sine, 22.05 kHz mono 16-bit, with short fades so it does
# not click.
sox -R -n -r 22050 -c 1 -b 16 "$out/tone.wav" synth 0.4 sine 660 fade 0.01 0.4 0.05 vol 0.5

# 0.4 s of a 440 Hz sine as MP3 (constant 64 kbit/s, no ID3 tag, so the file
# is the same on every run).
tmp="$(mktemp --suffix=.wav)"
trap 'rm -f "$tmp"' EXIT
sox -R -n -r 22050 -c 1 -b 16 "$tmp" synth 0.4 sine 440 fade 0.01 0.4 0.05 vol 0.5
lame --quiet -b 64 --cbr -t --noreplaygain "$tmp" "$out/tone.mp3"

# 10 s of the same sine at a low bit rate, for tests that must catch an MP3
# while it still plays: a short tone can end unseen while a loaded machine
# starves the test's event loop.
sox -R -n -r 22050 -c 1 -b 16 "$tmp" synth 10 sine 440 fade 0.01 10 0.05 vol 0.5
lame --quiet -b 16 --cbr -t --noreplaygain "$tmp" "$out/long.mp3"

# MIDI: format 0, one track, 96 ticks per quarter note at 120 bpm (one tick is
# 5.2 ms). Piano, C5 for an eighth note (0.25 s), then E5 for an eighth note:
# about 0.5 s in all.
track=(
  00 C0 00                # program change: acoustic grand piano
  00 90 48 64             # note on C5
  30 80 48 40             # 48 ticks later: note off
  00 90 4C 64             # note on E5
  30 80 4C 40             # 48 ticks later: note off
  00 FF 2F 00             # end of track
)
len=${#track[@]}
{
  printf 'MThd\x00\x00\x00\x06\x00\x00\x00\x01\x00\x60'
  printf 'MTrk'
  printf "\\x$(printf %02x $(((len >> 24) & 255)))\\x$(printf %02x $(((len >> 16) & 255)))"
  printf "\\x$(printf %02x $(((len >> 8) & 255)))\\x$(printf %02x $((len & 255)))"
  for b in "${track[@]}"; do printf "\\x$b"; done
} > "$out/tune.mid"

echo "wrote $out/tone.wav $out/tone.mp3 $out/long.mp3 $out/tune.mid"
