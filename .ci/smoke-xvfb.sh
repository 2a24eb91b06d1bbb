#!/usr/bin/env bash
# Smoke test on a real X server: starts Tamlo under Xvfb, draws a rectangle
# with the rectangle tool by moving the real mouse pointer (xdotool), takes a
# screenshot and checks that the canvas shows the rectangle's black outline.
#   .ci/smoke-xvfb.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."

build="${1:-build}"
program="$build/tamlo"
[ -x "$program" ] || { echo "smoke: $program not built" >&2; exit 1; }
for tool in Xvfb xdotool import convert; do
  command -v "$tool" > /dev/null || { echo "smoke: $tool missing (scripts/setup.sh installs it)" >&2; exit 1; }
done

work="$(mktemp -d)"
xvfb_pid=""
app_pid=""
cleanup() {
  # Wait for both to end: a server still shutting down removes the socket of
  # the next one started on the same display number.
  if [ -n "$app_pid" ]; then kill "$app_pid" 2> /dev/null || true; wait "$app_pid" 2> /dev/null || true; fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2> /dev/null || true; wait "$xvfb_pid" 2> /dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "smoke: $*" >&2
  [ -f "$work/after.png" ] && cp "$work/after.png" "$build/smoke-failure.png" && echo "smoke: screenshot in $build/smoke-failure.png" >&2
  exit 1
}

# A free display number, chosen by the server itself.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3> "$work/display" 2> "$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$work/display")"
# A journal of its own: the program is killed at the end, and a journal left
# in the real state folder would make a later start ask about it.
export XDG_STATE_HOME="$work/state"
# The server announces its number before it accepts clients: wait until it does.
for _ in $(seq 100); do xdotool getmouselocation > /dev/null 2>&1 && break; sleep 0.1; done
xdotool getmouselocation > /dev/null 2>&1 || fail "Xvfb on $DISPLAY accepts no client"

# An empty working folder: the program must not read anything of ours.
(cd "$work" && QT_QPA_PLATFORM=xcb exec "$OLDPWD/$program") > "$work/app.log" 2>&1 &
app_pid=$!

wid=""
for _ in $(seq 100); do
  wid="$(xdotool search --onlyvisible --name '^Tamlo Ver\.1\.23$' 2> /dev/null | head -n1 || true)"
  [ -n "$wid" ] && break
  kill -0 "$app_pid" 2> /dev/null || { cat "$work/app.log" >&2; fail "the program ended at start-up"; }
  sleep 0.1
done
[ -n "$wid" ] || fail "no Tamlo window appeared"
sleep 0.5  # let the first paint reach the screen

eval "$(xdotool getwindowgeometry --shell "$wid")"  # X, Y, WIDTH, HEIGHT
[ "$WIDTH" -eq 800 ] && [ "$HEIGHT" -eq 580 ] || fail "window is ${WIDTH}x${HEIGHT}, not 800x580"

# The canvas is the first pure white row below the menu bar (the client area
# starts right under it; the canvas lies 4 pixels further in).
import -window root "$work/before.png"
canvas_top=""
while read -r row colour; do
  if [ "$colour" = "#FFFFFF" ]; then canvas_top=$((Y + row)); break; fi
done < <(convert "$work/before.png" -crop "1x120+$((X + 320))+$Y" +repage -depth 8 txt:- |
  awk 'NR > 1 { split($1, a, /[,:]/); for (i = 2; i <= NF; i++) if ($i ~ /^#/) { print a[2], substr($i, 1, 7); break } }')
[ -n "$canvas_top" ] || fail "canvas not found on the screen"
canvas_left=$((X + 4))
client_top=$((canvas_top - 4))

pixel() {  # pixel X Y of the last screenshot, as #RRGGBB
  convert "$work/after.png" -crop "1x1+$1+$2" +repage -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | head -n1
}

# The rectangle tool: RectBtn (72, 120, 57 x 49) in DrawPanel (646, 4).
xdotool mousemove "$((X + 646 + 72 + 28))" "$((client_top + 4 + 120 + 24))" click 1
sleep 0.2
# Drag from canvas (100, 100) to (300, 250).
xdotool mousemove "$((canvas_left + 100))" "$((canvas_top + 100))" mousedown 1
for step in 1 2 3 4 5; do
  xdotool mousemove "$((canvas_left + 100 + 40 * step))" "$((canvas_top + 100 + 30 * step))"
  sleep 0.05
done
xdotool mouseup 1
sleep 0.5

import -window root "$work/after.png"
at() { pixel "$((canvas_left + $1))" "$((canvas_top + $2))"; }
top_edge="$(at 200 100)"
left_edge="$(at 100 175)"
bottom_edge="$(at 200 250)"
inside="$(at 200 175)"
outside="$(at 200 60)"
echo "smoke: canvas at ($canvas_left, $canvas_top); top $top_edge left $left_edge bottom $bottom_edge inside $inside outside $outside"
[ "$top_edge" = "#000000" ] || fail "no black top edge"
[ "$left_edge" = "#000000" ] || fail "no black left edge"
[ "$bottom_edge" = "#000000" ] || fail "no black bottom edge"
[ "$inside" = "#FFFFFF" ] || fail "the rectangle is not white inside"
[ "$outside" = "#FFFFFF" ] || fail "the canvas is not white outside the rectangle"
kill -0 "$app_pid" 2> /dev/null || fail "the program ended while drawing"
echo "smoke: the rectangle shows on a real X server"
