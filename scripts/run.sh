#!/usr/bin/env bash
# Installs what is missing, builds Tamlo and starts it: scripts/run.sh [FILE]
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build --target tamlo -j"$(nproc)"
exec ./build/tamlo "$@"
