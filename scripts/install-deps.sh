#!/usr/bin/env bash
# Installs every Debian package K27 needs to build, run, test and benchmark,
# and the clang tools of the CI gates (sanitizers, libFuzzer, clang-format).
# Idempotent: packages already present are left alone, and nothing is fetched
# when everything is installed.
set -euo pipefail

packages=(
  cmake ninja-build g++ make pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
  qt6-multimedia-dev libqt6multimedia6
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad
  # MIDI: the small General MIDI SoundFont (6 MB; opens in tens of ms where
  # FluidR3 takes over a second) and GStreamer's headers, with which the
  # program hands it to the synthesiser and keeps it loaded.
  timgm6mb-soundfont libgstreamer1.0-dev
  open-jtalk open-jtalk-mecab-naist-jdic hts-voice-nitech-jp-atr503-m001
  fonts-ipafont-gothic fonts-ipafont-mincho libfontconfig-dev
  xvfb xauth imagemagick
  libbenchmark-dev
  clang libclang-rt-14-dev llvm clang-format
  libzxing-dev
  pulseaudio pulseaudio-utils sox lame
  # The install test validates the desktop entry and the AppStream metainfo.
  desktop-file-utils appstream
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "K27 needs these Debian packages: ${missing[*]}" >&2
  echo "Run as root:  sudo bash scripts/install-deps.sh" >&2
  exit 1
fi

# The HTS voice is in Debian's contrib component: add contrib to the
# components of the system's existing Debian source entries.
enable_contrib() {
  local changed=0 f
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    if grep -qE '^Components:' "$f" && ! grep -qE '^Components:.*\bcontrib\b' "$f"; then
      sed -i -E '/^Components:/ s/$/ contrib/' "$f"
      changed=1
    fi
  done
  if [ -f /etc/apt/sources.list ]; then
    if grep -qE '^deb .*debian' /etc/apt/sources.list &&
       grep -E '^deb .*debian' /etc/apt/sources.list | grep -vqE '\bcontrib\b'; then
      sed -i -E '/^deb .*debian/ { /\bcontrib\b/! s/$/ contrib/ }' /etc/apt/sources.list
      changed=1
    fi
  fi
  return 0
}

enable_contrib
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
