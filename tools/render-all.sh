#!/usr/bin/env bash
# Pictures of every window, page and dialog of K27 in one folder:
#   tools/render-all.sh [--xvfb] [OUTDIR] [BUILD]
# OUTDIR defaults to render-all, BUILD to build. Without --xvfb the windows
# are drawn on Qt's offscreen platform; with it, on a virtual X server.
set -euo pipefail
xvfb=0
if [ "${1:-}" = "--xvfb" ]; then
  xvfb=1
  shift
fi
out=$(realpath -m "${1:-render-all}")
build=${2:-build}
root=$(cd "$(dirname "$0")/.." && pwd)
tool="$root/$build/tools/render_all"
if [ ! -x "$tool" ]; then
  cmake --build "$root/$build" --target render_all
fi
export QT_LOGGING_RULES="qt.multimedia*=false"
if [ "$xvfb" = 1 ]; then
  QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x800x24" "$tool" "$out"
else
  QT_QPA_PLATFORM=offscreen "$tool" "$out"
fi
