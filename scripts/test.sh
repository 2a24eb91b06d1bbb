#!/usr/bin/env bash
# Installs what is missing, builds Tamlo with its tests and runs every test.
# Extra arguments go to CMake (the CI uses this for the sanitizer build):
#   scripts/test.sh [BUILD_DIR [CMAKE_ARGS...]]
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
build="${1:-build}"
shift || true
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" > /dev/null
cmake --build "$build" -j"$(nproc)"
cd "$build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
