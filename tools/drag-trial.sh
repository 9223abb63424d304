#!/usr/bin/env bash
# Drags the board as a user would, on a virtual X server with or without a
# window manager, and reports where the board went:
#   tools/drag-trial.sh [none|twm|openbox] [OUTDIR] [BUILD]
# 1. press on the panel (left edge), drag by (+150, +200), release: moves it;
# 2. press on fare digit 7, drag by (+100, +100), release: leaves it in place;
# 3. double-click fare digit 7: opens the digit settings dialog.
# openbox moves windows itself (_NET_WM_MOVERESIZE); twm and no window
# manager refuse, and the board follows the mouse on its own. A screenshot
# after each step goes to OUTDIR. Needs xdotool, x11-utils and the window
# manager's package (twm also needs xfonts-base).
set -euo pipefail
wm=${1:-none}
out=$(realpath -m "${2:-drag-trial}")
build=${3:-build}
root=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$out"
if [ "${K27_DRAG_TRIAL_INNER:-}" != 1 ]; then
  K27_DRAG_TRIAL_INNER=1 exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$wm" "$out" "$build"
fi

# The client area's place on the screen, whatever frame a manager adds.
where() { xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} END{print x, y}'; }
drag() { # x y dx dy
  xdotool mousemove "$1" "$2"; sleep 0.3
  xdotool mousedown 1; sleep 0.3
  for i in 1 2 3 4 5 6 7 8 9 10; do
    xdotool mousemove $(($1 + $3 * i / 10)) $(($2 + $4 * i / 10)); sleep 0.05
  done
  sleep 0.3; xdotool mouseup 1; sleep 0.5
}

. "$root/tools/trial-wm.sh"
start_window_manager "$wm" "$out"
moves=$(xprop -root _NET_SUPPORTED 2>/dev/null | grep -c _NET_WM_MOVERESIZE || true)
echo "window manager: $wm (system moves: $([ "$moves" -gt 0 ] && echo yes || echo no))"

# The trial starts without saved settings, and ending K27 with a signal
# saves them: a settings file in BUILD is put aside and restored.
settings="$root/$build/K27.in4"
[ -f "$settings" ] && mv "$settings" "$out/K27.in4.before"
restore() { rm -f "$settings"; [ -f "$out/K27.in4.before" ] && mv "$out/K27.in4.before" "$settings" || true; }
trap restore EXIT

cd "$root/data/demo"
QT_LOGGING_RULES="qt.multimedia*=false" "$root/$build/K27" > "$out/$wm-k27.log" 2>&1 & pid=$!
sleep 4
board=""
for w in $(timeout 5 xdotool search --pid $pid 2>/dev/null); do
  [ "$(xdotool getwindowgeometry "$w" | awk '/Geometry/{print $2}')" = 635x245 ] && board=$w
done
if [ -z "$board" ]; then
  echo "no board window found" >&2
  kill $pid; exit 1
fi
read -r x y < <(where "$board")
echo "board at $x,$y"

drag $((x + 20)) $((y + 120)) 150 200
read -r nx ny < <(where "$board")
echo "panel dragged by +150,+200: board at $nx,$ny"
import -window root "$out/$wm-1-panel.png"

x=$nx; y=$ny
drag $((x + 418)) $((y + 57)) 100 100
read -r nx ny < <(where "$board")
echo "fare digit dragged by +100,+100: board at $nx,$ny"
import -window root "$out/$wm-2-digit.png"

xdotool mousemove $((nx + 418)) $((ny + 57)); sleep 0.3
xdotool click --repeat 2 --delay 100 1; sleep 1.5
dialog=$(timeout 5 xdotool search --pid $pid --onlyvisible --name 'デジタル部品の設定' 2>/dev/null | head -1 || true)
echo "double-click on fare digit 7: $([ -n "$dialog" ] && echo 'digit settings dialog open' || echo 'no dialog')"
import -window root "$out/$wm-3-dblclick.png"
xdotool key Escape; sleep 0.5
kill $pid 2>/dev/null || true
wait $pid 2>/dev/null || true
