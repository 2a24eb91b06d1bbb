#!/usr/bin/env bash
# Makes the Debian package from the build folder into OUT_DIR, as a parent's
# `cpack -G DEB` would, for the other package tests to take apart.
#   build_deb.sh BUILD_DIR OUT_DIR
# Exit 77 (skipped) where the Debian tools are missing.
set -euo pipefail
build="$1" out="$2"
for tool in cpack dpkg-deb dpkg-shlibdeps; do
  command -v "$tool" > /dev/null || { echo "skipped: $tool missing (scripts/setup.sh installs dpkg-dev)"; exit 77; }
done
rm -rf "$out"
mkdir -p "$out"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out"
ls "$out"/tamlo_*.deb
