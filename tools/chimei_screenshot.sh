#!/usr/bin/env bash
# Pictures of the stop-name column in a window of its own: a short name and
# a long scrolling one, at real size and magnified, taken twice so that the
# second picture shows the long name moved on.
#   tools/chimei_screenshot.sh OUT_PREFIX [BUILD [NAME...]]   -> OUT_PREFIX-1.png, OUT_PREFIX-2.png
set -euo pipefail
prefix=${1:-chimei}
build=${2:-build}
shift $(($# < 2 ? $# : 2))
names=""
[ $# -eq 0 ] || names=$(printf " %q" "$@")
root=$(cd "$(dirname "$0")/.." && pwd)
prefix=$(realpath -m "$prefix")
xvfb-run -a -s "-screen 0 1280x800x24" bash -c "
  '$root/$build/tools/chimei_view' --speed 20 --wait 500$names & pid=\$!
  sleep 1.5
  import -window root '$prefix-1.png'
  sleep 2.5
  import -window root '$prefix-2.png'
  kill \$pid 2>/dev/null || true
  wait \$pid 2>/dev/null || true
"
for f in "$prefix-1.png" "$prefix-2.png"; do
  convert "$f" -crop 400x640+0+0 +repage "$f"
  echo "$f"
done
