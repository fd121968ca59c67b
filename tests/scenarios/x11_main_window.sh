#!/usr/bin/env bash
# The skinned alarm clock on a real X server: the window takes the shape of its skin (the
# corners let the desktop through, by XShape), a schedule saved from the menu is on disk, and
# a close asked by the window manager (WM_DELETE_WINDOW) ends the program cleanly. Closing
# saves nothing by design: what was saved stays, an unsaved change is dropped.
set -euo pipefail
build=$1
command -v Xvfb >/dev/null && command -v xdotool >/dev/null && command -v xsetroot >/dev/null \
  || { echo "Xvfb, xdotool or xsetroot is not installed"; exit 77; }
[ -x "$build/tools/wm_close" ] || { echo "no wm_close tool"; exit 77; }
[ -f "$build/Skins/DarkGlass.asz" ] || { echo "the packed skins were not built"; exit 1; }
. "$(dirname "$0")/lib/xvfb.sh"
fail() { echo "$1"; cat "$work/out" 2>/dev/null; exit 1; }
mkdir -p "$work/app"
cp "$build/utrozvon" "$work/app/utrozvon"
cp -r "$build/Skins" "$work/app/Skins"
xsetroot -solid '#00ff00'

UTROZVON_NOW=2024-01-01T06:00:00.000 UTROZVON_AUDIO_SINK=fakesink "$work/app/utrozvon" >"$work/out" 2>&1 &
app=$!
stop_pids="$stop_pids $app"
window=
for _ in $(seq 1 100); do
  window=$(xdotool search --onlyvisible --classname utrozvon 2>/dev/null | head -n1 || true)
  [ -n "$window" ] && break; sleep 0.05
done
[ -n "$window" ] || fail "the window never appeared"
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$window")"
# The frame around the 487 x 293 client area: 3 pixels at the sides and bottom, 22 on top.
[ "$WIDTH" = 493 ] && [ "$HEIGHT" = 318 ] || fail "unexpected window size ${WIDTH}x$HEIGHT"

screen() { xwd -root -silent | /usr/bin/convert xwd:- "$work/screen.png"; }
pixel() { /usr/bin/convert "$work/screen.png" -format "%[hex:u.p{$1,$2}]" info: | cut -c1-6; }
screen
for corner in "$X $Y" "$((X + WIDTH - 1)) $Y" "$X $((Y + HEIGHT - 1))" "$((X + WIDTH - 1)) $((Y + HEIGHT - 1))"; do
  # shellcheck disable=SC2086
  [ "$(pixel $corner)" = 00FF00 ] || fail "the corner at $corner is not cut out of the window"
done
[ "$(pixel $((X + WIDTH / 2)) $Y)" != 00FF00 ] || fail "the top edge is cut too"
[ "$(pixel $((X + 3)) $((Y + 40)))" != 00FF00 ] || fail "the left edge is cut too"

# Client point to screen point.
at() { echo "$((X + 3 + $1)) $((Y + 22 + $2))"; }
# Monday's box, then Сохранить настройки, the first item of the menu of the panel.
xdotool mousemove $(at 56 49) click 1
sleep 0.3
xdotool mousemove $(at 240 250) click 3
sleep 0.5
xdotool key Down Return
ini="$work/app/nastr.ini"
for _ in $(seq 1 40); do [ -s "$ini" ] && break; sleep 0.05; done
[ -s "$ini" ] || fail "the menu did not save the schedule"
[ "$(head -n 1 "$ini")" = $'TRUE\r' ] || fail "Monday's box was not saved as TRUE"
cp "$ini" "$work/saved"

# An unsaved change, then the window manager's close.
xdotool mousemove $(at 56 49) click 1
sleep 0.3
"$build/tools/wm_close" "$window"
for _ in $(seq 1 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.05; done
kill -0 "$app" 2>/dev/null && fail "the program did not end on WM_DELETE_WINDOW"
status=0
wait "$app" || status=$?
[ "$status" = 0 ] || fail "the program ended with $status"
cmp -s "$ini" "$work/saved" || fail "closing changed the saved schedule"
[ ! -e "$ini.tmp" ] || fail "a temporary file was left behind"
[ ! -e "$work/app/skin.txt" ] || fail "a skin choice was written though no skin was chosen"
echo "scenario passed"
