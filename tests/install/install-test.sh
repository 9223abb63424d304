#!/usr/bin/env bash
# Installs K27 into a temporary DESTDIR and checks what a user or a package
# gets: the programs, the desktop entry and metainfo (validated where the
# validators are installed), the icon, the demo under the data folder that
# the installed programs find by themselves, and an installed K27 that
# starts and keeps running.
#   tests/install/install-test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(realpath "$1")
src=$(realpath "$2")
id=io.github.k27sim.K27
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Installing takes the built files as they are: make sure they are built.
cmake --build "$build" --target K27 hy3tool in4tool >/dev/null
DESTDIR="$tmp/root" cmake --install "$build" --prefix /usr >/dev/null
usr="$tmp/root/usr"
demo="$usr/share/k27/demo"

for f in bin/K27 bin/hy3tool bin/in4tool; do
  [ -x "$usr/$f" ] || fail "$f is not installed as a program"
done
for f in share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
  share/icons/hicolor/scalable/apps/$id.svg share/icons/hicolor/48x48/apps/$id.png \
  share/icons/hicolor/256x256/apps/$id.png share/doc/k27/README.md share/doc/k27/plugins.md; do
  [ -s "$usr/$f" ] || fail "$f is missing"
done
for f in 12.hy3 12tp.csv 105.hy3 105tp.csv settings.json panels/panel-on1.bmp panels/panel-on2.jpg \
  plugins/full.4SP sounds/tape3.mid sounds/step2.mp3; do
  [ -s "$demo/$f" ] || fail "demo file $f is missing"
done

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$usr/share/applications/$id.desktop" || fail "the desktop entry does not validate"
else
  echo "desktop-file-validate not installed: desktop entry not validated"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$usr/share/metainfo/$id.metainfo.xml" || fail "the metainfo does not validate"
else
  echo "appstreamcli not installed: metainfo not validated"
fi

# The installed tools find the installed demo from their own folder; every
# file the anchored demo settings name is there.
"$usr/bin/hy3tool" check "$demo/105.hy3" >/dev/null || fail "hy3tool refuses the installed route 105"
"$usr/bin/in4tool" demo -o "$tmp/demo.in4" >/dev/null || fail "in4tool does not find the installed demo"
json=$("$usr/bin/in4tool" dump "$tmp/demo.in4")
grep -q "\"FareDataDir\": \"$demo\"" <<<"$json" || fail "the demo settings do not point at $demo"
paths=$(grep -o "\"$demo/[^\"]*\"" <<<"$json" | tr -d '"')
[ "$(wc -l <<<"$paths")" -ge 13 ] || fail "the demo settings name too few files"
while read -r p; do
  [ -e "$p" ] || fail "the demo settings name $p, which is not installed"
done <<<"$paths"

# The installed K27 starts offscreen with an empty home, paints its board
# and is still running then, not crashed or stopped. Where the start-up
# seeds a first start with the demo's settings, the file it writes (beside
# the program where that folder is writable, else in the configuration
# folder) points into the installed demo.
seeds=0
grep -q "seedFirstStart" "$src"/app/K27App.cpp "$src"/app/mdlIniIo.cpp 2>/dev/null && seeds=1
home="$tmp/home"
mkdir -p "$home"
seeded() {
  for f in "$home/.config/K27/K27.in4" "$usr/bin/K27.in4"; do
    if [ -f "$f" ]; then
      echo "$f"
      return
    fi
  done
}
(cd "$home" && HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$tmp" QT_QPA_PLATFORM=offscreen \
  QT_LOGGING_RULES="qt.multimedia*=false" K27_REPORT_FIRST_PAINT=1 exec "$usr/bin/K27" >"$tmp/k27.out") &
pid=$!
# Until the board reports its first paint, which follows the settings: as
# long as a loaded machine takes (up to a minute), and no longer.
for _ in $(seq 600); do
  grep -qs '^first-paint ' "$tmp/k27.out" && break
  kill -0 "$pid" 2>/dev/null || fail "the installed K27 ended before it painted its board"
  sleep 0.1
done
grep -q '^first-paint ' "$tmp/k27.out" || fail "the installed K27 painted no board within a minute"
for _ in $(seq 50); do
  [ "$seeds" = 0 ] || [ -n "$(seeded)" ] && break
  sleep 0.1
done
kill -0 "$pid" 2>/dev/null || fail "the installed K27 ended after its first paint"
kill "$pid"
wait "$pid" 2>/dev/null || true
if [ "$seeds" = 1 ]; then
  file=$(seeded)
  [ -n "$file" ] || fail "the first start wrote no settings file"
  written=$("$usr/bin/in4tool" dump "$file")
  grep -q "\"On1PanelFile\": \"$demo/panels/panel-on1.bmp\"" <<<"$written" ||
    fail "the first start's settings do not point into the installed demo"
fi
echo "installed K27 in $usr: programs, desktop entry, metainfo, icon and demo in place; K27 ran"
