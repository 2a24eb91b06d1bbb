#!/usr/bin/env bash
# Installs, only when missing, every Debian package that building, running
# and testing Tamlo need. On a machine that has them all it returns at once.
set -euo pipefail

PACKAGES=(
  g++ cmake make pkg-config ccache
  qt6-base-dev qt6-svg-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n libgl-dev
  libjpeg62-turbo-dev
  libavcodec-dev libavformat-dev libavutil-dev libswscale-dev libavfilter-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-ipafont-gothic
  clang libclang-rt-14-dev
  xvfb xdotool x11-apps imagemagick
  poppler-utils librsvg2-bin chromium tidy
  dpkg-dev file lintian appstream desktop-file-utils
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
