#!/usr/bin/env bash
# The package passes lintian without errors (warnings are listed).
#   lintian.sh OUT_DIR
set -euo pipefail
command -v lintian > /dev/null || { echo "skipped: lintian missing"; exit 77; }
deb="$(ls "$1"/tamlo_*.deb)"
lintian --fail-on error --tag-display-limit 0 "$deb"
