#!/usr/bin/env bash
# Tries the settings as a new user would, on a virtual X server with or
# without a window manager, and reports what it saw:
#   tools/settings-trial.sh [none|twm|openbox] [OUTDIR] [BUILD]
# 1. starts BUILD/K27 in data/demo without a settings file: the board must
#    stand at the screen's top-left, the control panel at its bottom-right;
# 2. changes settings on every options page the model offers (folders,
#    ticket numbers, digit colour with a custom colour, information digits,
#    sounds, ticket plug-in and date), the panel's late-night box, both
#    scroll bars, the front entry panel and the fold-out, and moves both
#    windows;
# 3. closes the panel and answers No: K27 must go on and write nothing;
# 4. closes it again and answers Yes: K27 must end and write BUILD/K27.in4;
# 5. starts again: both windows must stand where they were and the board,
#    the panel and every options page must look exactly as before (pixel
#    comparison of window pictures); then No and Yes once more.
# The close request is the one a window manager sends (WM_DELETE_WINDOW);
# with openbox it comes from a click on the frame's close button. Positions
# are the client areas' places on the screen. A settings file already in
# BUILD is put aside and restored. Pictures and a log go to OUTDIR.
# The click positions follow the windows' layout at 96 dpi with the IPA
# fonts. Needs xdotool, x11-utils, imagemagick, a C compiler with libx11-dev,
# and the window manager's package (twm also needs xfonts-base).
set -euo pipefail
wm=${1:-none}
out=$(realpath -m "${2:-settings-trial}")
build=${3:-build}
root=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$out"
if [ "${K27_SETTINGS_TRIAL_INNER:-}" != 1 ]; then
  K27_SETTINGS_TRIAL_INNER=1 exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$wm" "$out" "$build"
fi

program="$root/$build/K27"
settings="$root/$build/K27.in4"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The window manager's close request, for windows without a close button.
cat > "$out/wm-delete.c" <<'EOF'
#include <X11/Xlib.h>
#include <stdlib.h>
int main(int argc, char** argv) {
    Display* d = XOpenDisplay(NULL);
    if (!d || argc < 2) return 1;
    Window w = (Window)strtoul(argv[1], NULL, 0);
    XEvent e = {0};
    e.xclient.type = ClientMessage;
    e.xclient.window = w;
    e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = (long)XInternAtom(d, "WM_DELETE_WINDOW", False);
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, w, False, NoEventMask, &e);
    XCloseDisplay(d);
    return 0;
}
EOF
cc -o "$out/wm-delete" "$out/wm-delete.c" -lX11

. "$root/tools/trial-wm.sh"
start_window_manager "$wm" "$out"
echo "window manager: $wm"

[ -f "$settings" ] && mv "$settings" "$out/K27.in4.before"
restore() {
  [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  rm -f "$settings"
  [ -f "$out/K27.in4.before" ] && mv "$out/K27.in4.before" "$settings" || true
}
trap restore EXIT

where() { xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} /Width/{w=$2} /Height/{h=$2} END{print x, y, w, h}'; }
window() { timeout 10 xdotool search --all --sync --onlyvisible --pid "$pid" --name "$1" 2>/dev/null | head -1; }
at() { xdotool mousemove --window "$1" "$2" "$3"; sleep 0.15; }
click() { at "$1" "$2" "$3"; xdotool click 1; sleep 0.3; }
drag() { # window x y dx dy
  at "$1" "$2" "$3"; xdotool mousedown 1; sleep 0.2
  for i in 1 2 3 4 5; do xdotool mousemove_relative -- $(($4 / 5)) $(($5 / 5)); sleep 0.05; done
  sleep 0.2; xdotool mouseup 1; sleep 0.5
}

start() {
  (cd "$root/data/demo" && QT_LOGGING_RULES="qt.multimedia*=false" exec "$program") >> "$out/$wm-k27.log" 2>&1 &
  pid=$!
  board=$(window 'コルネ - 型番')
  panel=$(window '集中操作盤')
  sleep 1
  [ -n "$board" ] && [ -n "$panel" ] || { fail "windows did not appear"; exit 1; }
}

# Every window as a picture, the options window page by page.
pictures() { # tag
  import -window "$board" "$out/$wm-$1-board.png"
  import -window "$panel" "$out/$wm-$1-panel.png"
  click "$panel" 56 312 # "設定..."
  local options; options=$(window 'オプション')
  for page in 0 1 2 4 5; do
    click "$options" 58 $((30 + 45 * page))
    [ "$page" = 4 ] && click "$options" 302 103 # the sub-page "送り・戻し時のサウンド..."
    at "$options" 400 5
    import -window "$options" "$out/$wm-$1-options-$page.png"
    if [ "$page" = 2 ]; then # the custom colours, in the colour dialog
      click "$options" 275 130
      local dialog; dialog=$(window '色の設定')
      at "$dialog" 300 5
      import -window "$dialog" "$out/$wm-$1-colours.png"
      xdotool key Escape; sleep 0.5
    fi
  done
  click "$options" 58 487 # "OK"
}

# Closes the panel as a window manager does and answers the question.
closePanel() { # Return (Yes) or Escape (No)
  if [ "$wm" = openbox ]; then
    read -r x y w h < <(where "$panel")
    xdotool mousemove $((x + w - 8)) $((y - 10)) click 1
  else
    "$out/wm-delete" "$panel"
  fi
  local question; question=$(window 'コルネの終了確認')
  [ -n "$question" ] || { fail "no exit question"; return; }
  import -window root "$out/$wm-question.png"
  xdotool windowactivate "$question" 2>/dev/null || true
  sleep 0.3; xdotool key "$1"; sleep 1
}

# ---- First start -----------------------------------------------------------
pid=""
start
read -r bx by _ _ < <(where "$board")
read -r px py pw ph < <(where "$panel")
echo "first start: board at $bx,$by; panel at $px,$py (${pw}x${ph})"
import -window root "$out/$wm-1-first-start.png"
[ "$bx,$by" = "0,0" ] || [ "$wm" = twm ] || fail "the board is not at the top-left"

# Options: every page the model offers.
click "$panel" 56 312
options=$(window 'オプション')
click "$options" 416 66; xdotool type "$root/data/demo"
click "$options" 416 150; xdotool type "$root/data/demo"
click "$options" 58 76                                  # panel and ticket numbers
click "$options" 147 128                                # leading zero
click "$options" 494 101; xdotool key Down Down Down Return; sleep 0.3 # numbering scheme
click "$options" 390 238                                # panel pictures per state
click "$options" 58 121                                 # digits
click "$options" 147 197                                # stop order shown ...
click "$options" 352 197; xdotool key Down Down Down Down Return; sleep 0.3 # ... in digit 5
click "$options" 147 246                                # route number shown
click "$options" 275 130                                # lit colour: the colour dialog
dialog=$(window '色の設定')
click "$dialog" 52 42                                   # red
click "$dialog" 122 346                                 # added to the custom colours
click "$dialog" 385 381                                 # OK
click "$options" 58 210                                 # sounds
click "$options" 494 46; xdotool type "$root/tests/data/sound/tone.wav"
click "$options" 158 345                                # stepping sound played to its end
click "$options" 147 182                                # stepping sound by column ...
click "$options" 273 215; xdotool key Down Down Return; sleep 0.3 # ... 3
click "$options" 180 103                                # pre-announcement sounds
click "$options" 158 347                                # played while speaking
click "$options" 147 182                                # chosen by flag
click "$options" 58 255                                 # ticket preview
click "$options" 135 45                                 # used
click "$options" 147 417                                # date of the route setting
click "$options" 688 116                                # the plug-in: file dialog
window 'プラグインの選択' > /dev/null
xdotool type "$root/data/demo/plugins/full.4SP"; xdotool key Return; sleep 1
click "$options" 58 487                                 # OK

# The panel: late-night fares, both bars, the list panel in front, fold-out.
click "$panel" 23 231
drag "$panel" 82 272 -30 0
drag "$panel" 182 272 -45 0
at "$panel" 199 130; xdotool click --repeat 2 --delay 80 1; sleep 0.5
click "$panel" 321 312
# Both windows moved: the board dragged by its surface, the panel moved.
read -r bx by _ _ < <(where "$board")
drag "$board" 20 120 150 60
xdotool windowmove "$panel" 660 340; sleep 1 # clear of the board: pictures include what overlaps

read -r bx1 by1 _ _ < <(where "$board")
read -r px1 py1 pw1 ph1 < <(where "$panel")
echo "changed and moved: board at $bx1,$by1; panel at $px1,$py1 (${pw1}x${ph1})"
pictures 1

closePanel Escape
kill -0 "$pid" 2>/dev/null && echo "answered No: K27 is still running" || fail "K27 ended after No"
[ -f "$settings" ] && fail "No wrote the settings file" || echo "answered No: no settings file"
import -window root "$out/$wm-2-after-no.png"
closePanel Return
for i in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
if kill -0 "$pid" 2>/dev/null; then fail "K27 still running after Yes"; kill "$pid"; fi
wait "$pid" && echo "answered Yes: K27 ended with status 0" || fail "K27 ended with status $?"
[ -f "$settings" ] && echo "settings file: $(stat -c %s "$settings") bytes" || fail "no settings file after Yes"

# ---- Second start ------------------------------------------------------------
start
read -r bx2 by2 _ _ < <(where "$board")
read -r px2 py2 pw2 ph2 < <(where "$panel")
echo "second start: board at $bx2,$by2; panel at $px2,$py2 (${pw2}x${ph2})"
import -window root "$out/$wm-3-second-start.png"
[ "$bx2,$by2" = "$bx1,$by1" ] || fail "the board came back at $bx2,$by2, not $bx1,$by1"
[ "$px2,$py2,$pw2,$ph2" = "$px1,$py1,$pw1,$ph1" ] || fail "the panel came back at $px2,$py2, not $px1,$py1"
pictures 2
for f in board panel options-0 options-1 options-2 colours options-4 options-5; do
  d=$(compare -metric AE "$out/$wm-1-$f.png" "$out/$wm-2-$f.png" "$out/$wm-diff-$f.png" 2>&1 || true)
  [ "$d" = 0 ] && echo "$f: the same picture" || fail "$f: $d pixels differ"
done

closePanel Escape
kill -0 "$pid" 2>/dev/null && echo "answered No again: K27 is still running" || fail "K27 ended after No"
closePanel Return
for i in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
kill -0 "$pid" 2>/dev/null && fail "K27 still running after Yes"
echo "$([ $failures = 0 ] && echo 'all as expected' || echo "$failures failures")"
exit $((failures > 0))
