#!/usr/bin/env bash
# Pictures of the control panel with its ticket preview while the demo's
# route 12 is driven by real clicks on a virtual X server:
#   docs/screenshots/preview-walk.sh [BUILD] [OUTDIR] [SCREEN]
# BUILD defaults to build, OUTDIR to docs/screenshots, SCREEN to 1280x800.
# K27 runs as on a first `make run` (the demo's settings, the preview folded
# out with the full sample plug-in), from a scratch copy so that the settings
# it saves at exit stay out of the build folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(realpath -m "${1:-$root/build}")
out=$(realpath -m "${2:-$root/docs/screenshots}")
screen=${3:-1280x800}
for tool in xvfb-run xdotool import convert; do
  command -v "$tool" >/dev/null || { echo "needs $tool" >&2; exit 1; }
done
if [ ! -x "$build/K27" ] || [ ! -x "$build/tools/in4tool" ]; then
  echo "build K27 and in4tool first" >&2
  exit 1
fi
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$build/K27" "$work/K27"
"$build/tools/in4tool" build "$root/data/demo/settings.json" -o "$work/K27.in4" >/dev/null

cat >"$work/walk.sh" <<'EOF'
set -euo pipefail
work=$1 out=$2 size=$3
cd "$ROOT/data/demo"
QT_QPA_PLATFORM=xcb QT_LOGGING_RULES="qt.multimedia*=false" "$work/K27" 2>"$work/k27.log" &
pid=$!
panel=
for _ in $(seq 100); do
  panel=$(xdotool search --name '^集中操作盤$' 2>/dev/null | head -1) || true
  [ -n "$panel" ] && break
  sleep 0.1
done
[ -n "$panel" ] || { echo "the control panel did not appear" >&2; kill $pid; exit 1; }
sleep 2
eval "$(xdotool getwindowgeometry --shell "$panel")"
px=$X py=$Y pw=$WIDTH ph=$HEIGHT
# A control of the panel by its place in pixels (15 twips a pixel).
click() { xdotool mousemove $((px + $1)) $((py + $2)) click 1; sleep "${3:-0.3}"; }
# The keypad sits in a frame at (8, 8); key k of rows {1 2 3 系統} {4 5 6 区間} {7 8 9 0}.
key() {
  local k=$1 row col
  case $k in 10) row=0 col=3 ;; 11) row=1 col=3 ;; 0) row=2 col=3 ;; *) row=$(((k - 1) / 3)) col=$(((k - 1) % 3)) ;; esac
  click $((8 + 32 + col * 38 + 15)) $((8 + 50 + row * 33 + 13)) 0.4
}
shot() {
  sleep 0.8
  import -window root "$work/screen.png"
  convert "$work/screen.png" -crop "${pw}x${ph}+${px}+${py}" +repage "$out/$1"
  echo "$out/$1"
}
step() { for _ in $(seq "$1"); do click 288 32 0.6; done; }

key 10; key 1; key 2; key 11; key 1
click 112 189 4.5            # リセット: the lamp test lasts three seconds
shot panel-preview-stop01.png
step 4
shot panel-preview-stop05.png
step 5
shot panel-preview-stop10.png
# The scroll bars: three clicks on the speed bar's trough left of its thumb,
# five on the interval bar's left arrow; both thumbs move left, the values up.
for _ in 1 2 3; do click 30 272; done
for _ in 1 2 3 4 5; do click 121 272 0.2; done
shot panel-scrollbars.png
# The popup menu of the preview, opened by the right button.
xdotool mousemove $((px + 480)) $((py + 200)) click 3
sleep 0.6
import -window root "$work/screen.png"
convert "$work/screen.png" -crop "$((pw + 120))x${ph}+${px}+${py}" +repage "$out/panel-preview-menu.png"
echo "$out/panel-preview-menu.png"
xdotool key Escape
sleep 0.3
import -window root "$out/screen-$size.png"
echo "$out/screen-$size.png"
kill $pid
wait $pid 2>/dev/null || true
EOF
ROOT=$root xvfb-run -a -s "-screen 0 ${screen}x24" bash "$work/walk.sh" "$work" "$out" "$screen"
