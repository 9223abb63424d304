#!/usr/bin/env bash
# Starts K27 under a virtual X server, waits for it to draw and saves a
# picture of the screen: tools/screenshot.sh OUT.png [BUILD] [SECONDS] [CROP]
set -euo pipefail
out=${1:-screenshot.png}
build=${2:-build}
wait=${3:-3}
crop=${4:-}
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "$out")
cd "$root/data/demo"
xvfb-run -a -s "-screen 0 1280x800x24" bash -c "
  '$root/$build/K27' & pid=\$!
  sleep $wait
  import -window root '$out'
  kill \$pid 2>/dev/null || true
  wait \$pid 2>/dev/null || true
"
if [ -n "$crop" ]; then
  convert "$out" -crop "$crop" +repage "$out"
fi
echo "$out"
