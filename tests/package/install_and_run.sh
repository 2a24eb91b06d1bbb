#!/usr/bin/env bash
# Takes the package apart into a temporary root (dpkg -x), checks that it
# holds what a desktop needs and that dpkg-shlibdeps named the libraries,
# then runs the installed program from there: --help and a batch export.
#   install_and_run.sh OUT_DIR DRAWING.tlo VERSION
set -euo pipefail
out="$1" drawing="$2" version="$3"
command -v dpkg-deb > /dev/null || { echo "skipped: dpkg-deb missing"; exit 77; }
deb="$(ls "$out"/tamlo_*.deb)"
fail() { echo "FAIL: $*" >&2; exit 1; }

root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root/root"

[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version $(dpkg-deb -f "$deb" Version), not $version"
depends="$(dpkg-deb -f "$deb" Depends)"
echo "Depends: $depends"
for lib in libqt6widgets6 libavcodec libjpeg62-turbo fonts-ipafont-gothic; do
  grep -q "$lib" <<< "$depends" || fail "Depends names no $lib"
done

for f in usr/bin/tamlo \
         usr/share/applications/tamlo.desktop \
         usr/share/metainfo/io.github.tamlo.tamlo.metainfo.xml \
         usr/share/mime/packages/tamlo.xml \
         usr/share/icons/hicolor/scalable/apps/tamlo.svg \
         usr/share/icons/hicolor/256x256/apps/tamlo.png \
         usr/share/doc/tamlo/copyright \
         usr/share/doc/tamlo/changelog.gz \
         usr/share/man/man1/tamlo.1.gz; do
  [ -f "$root/root/$f" ] || fail "the package holds no /$f"
done
grep -q '^Exec=tamlo' "$root/root/usr/share/applications/tamlo.desktop" || fail "the menu entry starts no tamlo"

program="$root/root/usr/bin/tamlo"
export XDG_STATE_HOME="$root/state" XDG_CONFIG_HOME="$root/config" XDG_CONFIG_DIRS="$root/etc"
"$program" --help > "$root/help.txt" || fail "--help failed"
grep -q -- '--export-png' "$root/help.txt" || fail "--help names no --export-png"
"$program" --version | grep -q "$version" || fail "--version is not $version"

"$program" --export-png "$root/out.png" "$drawing" || fail "the batch export failed"
head -c 8 "$root/out.png" | od -An -tx1 | tr -d ' \n' | grep -q '^89504e470d0a1a0a$' || fail "the export is no PNG"
echo "installed program ran: --help, --version, --export-png"
