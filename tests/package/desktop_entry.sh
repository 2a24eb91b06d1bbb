#!/usr/bin/env bash
# The menu entry validates (hints are shown, errors fail) and names the
# drawing file type the package installs.
#   desktop_entry.sh TAMLO.desktop MIME.xml
set -euo pipefail
entry="$1" mime="$2"
command -v desktop-file-validate > /dev/null || { echo "skipped: desktop-file-validate missing"; exit 77; }
desktop-file-validate "$entry"
type="$(sed -n 's/^MimeType=\([^;]*\);.*/\1/p' "$entry")"
grep -q "mime-type type=\"$type\"" "$mime" || { echo "FAIL: $mime defines no $type, which $entry names" >&2; exit 1; }
