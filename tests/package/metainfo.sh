#!/usr/bin/env bash
# The software-centre description validates (no network), the screenshots
# it shows are in the source tree at the sizes it gives, and its newest
# release is the version the build gives, as is the package changelog's.
#   metainfo.sh METAINFO.xml CHANGELOG VERSION SOURCE_DIR
set -euo pipefail
metainfo="$1" changelog="$2" version="$3" source="$4"
command -v appstreamcli > /dev/null || { echo "skipped: appstreamcli missing"; exit 77; }
fail() { echo "FAIL: $*" >&2; exit 1; }
appstreamcli validate --no-net "$metainfo"

# Each screenshot is published from the main branch: the path after /main/
# is a file of this tree, a PNG whose header gives width and height.
shots=0
while read -r width height path; do
  file="$source/$path"
  [ -f "$file" ] || fail "the screenshot $path is not in the source tree"
  size="$(od -An -tu1 -j16 -N8 "$file" | awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}')"
  [ "$size" = "$width $height" ] || fail "$path is $size, the description says $width x $height"
  shots=$((shots + 1))
done < <(sed -n 's|.*<image type="source" width="\([0-9]*\)" height="\([0-9]*\)">[^<]*/main/\([^<]*\)</image>.*|\1 \2 \3|p' "$metainfo")
[ "$shots" -gt 0 ] || fail "no screenshots in $metainfo"

newest="$(grep -o '<release version="[^"]*"' "$metainfo" | head -1 | cut -d'"' -f2)"
[ "$newest" = "$version" ] || fail "the newest release in $metainfo is '$newest', the project is $version"
top="$(head -1 "$changelog" | sed -n 's/^tamlo (\([^)]*\)).*/\1/p')"
[ "$top" = "$version" ] || fail "the newest entry in $changelog is '$top', the project is $version"
echo "$shots screenshots checked; release $version"
