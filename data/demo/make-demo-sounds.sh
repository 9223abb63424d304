#!/usr/bin/env bash
# Makes the demo route's sounds: short chimes and beeps synthesised with sox
# (one of them encoded as MP3 with lame) and a MIDI bell tune written byte by
# byte. Everything is generated here; nothing is copied from elsewhere. The
# files are committed, so K27 runs on the demo without this script; run it
# again after changing a sound.
#   bash data/demo/make-demo-sounds.sh [output folder]   (default: sounds/ beside this script)
set -euo pipefail
out="${1:-$(dirname "$0")/sounds}"
mkdir -p "$out"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

# A struck bell: a sine at $2 Hz for $1 s, with a short attack and a long
# fade so it rings out, plus a quieter octave for some brightness.
# Repeatable (-R) so the files come out the same on every run.
note() { # note SECONDS HZ FILE
  sox -R -n -r 22050 -c 1 -b 16 "$tmp/a.wav" synth "$1" sine "$2" fade q 0.004 "$1" "$1" vol 0.45
  sox -R -n -r 22050 -c 1 -b 16 "$tmp/b.wav" synth "$1" sine "$(($2 * 2))" fade q 0.004 "$1" "$1" vol 0.12
  sox -R -m "$tmp/a.wav" "$tmp/b.wav" "$3"
}
# A flat beep without ringing, as an electronic device makes.
beep() { # beep SECONDS HZ FILE
  sox -R -n -r 22050 -c 1 -b 16 "$3" synth "$1" square "$2" fade 0.003 "$1" 0.01 vol 0.18
}
silence() { # silence SECONDS FILE
  sox -R -n -r 22050 -c 1 -b 16 "$2" trim 0 "$1"
}
join() { # join OUT IN...
  local o="$1"; shift
  sox -R "$@" "$o"
}

# Route setting (系統設定時, the reset buttons and the section digits): two
# short beeps, "ピピッ".
beep 0.09 2000 "$tmp/p.wav"; silence 0.06 "$tmp/s.wav"
join "$out/keitou.wav" "$tmp/p.wav" "$tmp/s.wav" "$tmp/p.wav"

# The "リセット時" slot sounds on every key of the keypad and every route
# digit picked: one short key click, "ピッ".
beep 0.07 2400 "$out/reset.wav"

# Stepping, always (データ送り/戻し): the two-tone "ピンポーン", E6 then C6.
note 0.35 1319 "$tmp/1.wav"; note 0.9 1047 "$tmp/2.wav"
join "$out/step.wav" "$tmp/1.wav" "$tmp/2.wav"

# Stepping by the data column: 1 a single soft bell (A5), 2 a rising pair
# (C6, G6; MP3), 3 a falling three-note bell for the terminal (G5, E5, C5).
note 0.9 880 "$out/step1.wav"
note 0.3 1047 "$tmp/1.wav"; note 0.8 1568 "$tmp/2.wav"
join "$tmp/step2.wav" "$tmp/1.wav" "$tmp/2.wav"
lame --quiet -b 64 --cbr -t --noreplaygain "$tmp/step2.wav" "$out/step2.mp3"
note 0.3 784 "$tmp/1.wav"; note 0.3 659 "$tmp/2.wav"; note 1.0 523 "$tmp/3.wav"
join "$out/step3.wav" "$tmp/1.wav" "$tmp/2.wav" "$tmp/3.wav"

# Before every announcement (放送前, always): the rising four-note
# "ピンポンパンポーン", C6 E6 G6 C7.
note 0.22 1047 "$tmp/1.wav"; note 0.22 1319 "$tmp/2.wav"; note 0.22 1568 "$tmp/3.wav"; note 0.9 2093 "$tmp/4.wav"
join "$out/tape.wav" "$tmp/1.wav" "$tmp/2.wav" "$tmp/3.wav" "$tmp/4.wav"

# Before an announcement by its sound flag: 1 a lower two-tone (G5, D5),
# 2 a rising three-note bell (D6, F#6, A6).
note 0.3 784 "$tmp/1.wav"; note 0.8 587 "$tmp/2.wav"
join "$out/tape1.wav" "$tmp/1.wav" "$tmp/2.wav"
note 0.25 1175 "$tmp/1.wav"; note 0.25 1480 "$tmp/2.wav"; note 0.8 1760 "$tmp/3.wav"
join "$out/tape2.wav" "$tmp/1.wav" "$tmp/2.wav" "$tmp/3.wav"

# 3: a short tune for welcome and farewell, as MIDI: format 0, one track,
# 96 ticks per quarter note at 120 bpm. Tubular bells (program 15):
# C5 E5 G5 as eighth notes, then C6 held for a half note: about 1.75 s.
track=(
  00 C0 0E                # program change: tubular bells
  00 90 48 60  30 80 48 40  # C5, an eighth note (48 ticks)
  00 90 4C 60  30 80 4C 40  # E5
  00 90 4F 60  30 80 4F 40  # G5
  00 90 54 68  81 40 80 54 40  # C6, a half note (192 ticks, two-byte delta)
  00 FF 2F 00             # end of track
)
len=${#track[@]}
{
  printf 'MThd\x00\x00\x00\x06\x00\x00\x00\x01\x00\x60'
  printf 'MTrk'
  printf "\\x$(printf %02x $(((len >> 24) & 255)))\\x$(printf %02x $(((len >> 16) & 255)))"
  printf "\\x$(printf %02x $(((len >> 8) & 255)))\\x$(printf %02x $((len & 255)))"
  for b in "${track[@]}"; do printf "\\x$b"; done
} > "$out/tape3.mid"

ls "$out"
