#!/usr/bin/env bash
# Takes the user guide's pictures and walks through K27 the way the guide
# does, on a virtual X server with a window manager:
#   docs/screenshots/take.sh [BUILD]        (BUILD defaults to build)
# The board and the control panel in each backlight state come from
# render_demo; everything else from the real K27 started on the demo as
# `make run` starts it (a copy of the program in a temporary folder, so the
# settings file beside build/K27 is left alone), driven with xdotool.
# Needs xvfb-run, openbox, xdotool, wmctrl and ImageMagick.
#
# The clicks are at the controls' places inside the control panel, which
# its fixed layout keeps the same on every screen.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(realpath "${1:-$root/build}")
out="$root/docs/screenshots"

if [ -z "${K27_TAKE_INSIDE:-}" ]; then
  cmake --build "$build" --target K27 in4tool render_demo >/dev/null
  tmp=$(mktemp -d)
  trap 'rm -rf "$tmp"' EXIT
  QT_QPA_PLATFORM=xcb QT_LOGGING_RULES="qt.multimedia*=false" xvfb-run -a -s "-screen 0 1280x800x24" \
    "$build/tools/render_demo" "$tmp/demo" "$root/data/demo" >/dev/null
  for f in board-105-off board-105-on1 board-105-on2 panel-12; do
    cp "$tmp/demo/$f.png" "$out/$f.png"
  done
  K27_TAKE_INSIDE=1 K27_TAKE_TMP="$tmp" xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$build"
  exit
fi

tmp=$K27_TAKE_TMP
openbox >/dev/null 2>&1 &
wm=$!
sleep 1
cp "$build/K27" "$tmp/K27"
"$build/tools/in4tool" build "$root/data/demo/settings.json" -o "$tmp/K27.in4" >/dev/null
(cd "$root/data/demo" && XDG_CONFIG_HOME="$tmp/config" QT_LOGGING_RULES="qt.multimedia*=false" exec "$tmp/K27") \
  2>"$tmp/k27.log" &
k27=$!
for _ in $(seq 50); do
  xdotool search --name "集中操作盤" >/dev/null 2>&1 && break
  sleep 0.2
done
sleep 2
panel=$(xdotool search --name "集中操作盤" | head -1)
board=$(xdotool search --name "コルネ - 型番" | head -1)

click() { # x y [button] [seconds to wait after]
  xdotool mousemove --window "$panel" "$1" "$2" click "${3:-1}"
  sleep "${4:-0.4}"
}
key() { # a keypad key by its caption
  case $1 in
  1) click 55 72 ;; 2) click 92 72 ;; 3) click 130 72 ;; 系統) click 169 72 ;;
  4) click 55 105 ;; 5) click 92 105 ;; 6) click 130 105 ;; 区間) click 169 105 ;;
  7) click 55 137 ;; 8) click 92 137 ;; 9) click 130 137 ;; 0) click 169 137 ;;
  esac
}
reset() { click 112 188 1 4; } # リセット, with the lamp test
forward() { click 288 31 1 0.8; } # データ送り
announce() { click 318 246 1 "${1:-4}"; } # 送り
snap() { # window name [import options]
  import "${@:3}" -window "$1" "$out/$2.png"
  echo "$out/$2.png"
}

# Route 105 from section 1 on the keypad, six stops along, announcements.
key 系統; key 1; key 0; key 5; key 区間; key 1
reset
announce 8 # the welcome: no step
announce 5 # 次は、南町一丁目です。 and the board steps to stop 2
for _ in 1 2 3 4; do forward; done
# Late-night fares are doubled from the next step on.
click 23 231
forward
snap "$board" board-late-night
click 23 231
# Blanking and back.
click 236 103 1 1
snap "$board" board-blank
click 236 103 1 1

# The list panel: a double-click on the keypad frame brings it to the front.
xdotool mousemove --window "$panel" 20 150 click --repeat 2 --delay 80 1
sleep 0.8
item() { echo $((52 + 12 * $1)); } # y of digit d in a list
for x in 23 46 70; do click "$x" "$(item 0)"; done
click 96 "$(item 1)"
click 119 "$(item 2)"
click 150 "$(item 0)"
click 176 "$(item 0)"
click 200 "$(item 3)"
reset
snap "$panel" panel-lists
# Back to the keypad for the next start.
xdotool mousemove --window "$panel" 135 100 click --repeat 2 --delay 80 1
sleep 0.8

# The options window on the demo settings, page by page.
click 56 313 1 1.5
options=$(xdotool search --name "^オプション$" | head -1)
for page in 1:45:folders 2:90:panel 3:135:digits 4:225:sound 5:270:preview; do
  IFS=: read -r n y name <<<"$page"
  xdotool mousemove --window "$options" 58 "$y" click 1
  sleep 0.8
  snap "$options" "options-$n-$name"
done
xdotool mousemove --window "$options" 58 487 click 1
sleep 1

# The exit question, answered Yes: the settings are saved and K27 ends.
wmctrl -c "集中操作盤"
sleep 1
question=$(xdotool search --name "コルネの終了確認" | head -1)
snap "$question" exit-question -frame
xdotool mousemove --window "$question" 55 62 click 1
for _ in $(seq 50); do
  kill -0 "$k27" 2>/dev/null || break
  sleep 0.2
done
if kill -0 "$k27" 2>/dev/null; then
  echo "K27 did not end after Yes" >&2
  kill "$k27"
  exit 1
fi
saved=$("$build/tools/in4tool" dump "$tmp/K27.in4")
grep -q '"PanelIndex": 0' <<<"$saved" || {
  echo "the exit did not save the settings:" >&2
  grep -E 'PanelIndex|LateNight' <<<"$saved" >&2
  exit 1
}
kill "$wm" 2>/dev/null || true
