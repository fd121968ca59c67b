#!/usr/bin/env bash
# The skinned alarm clock's own frame on a real X server with a compositor (xcompmgr): a drag
# on the title bar moves the window (no window manager runs, so the program's own move loop
# does it), the skinned minimise button asks for iconic state (the ICCCM WM_CHANGE_STATE
# message to the root window, which xev watches), and brought back as a window manager would
# (unmapped, later mapped and focused) the title bar is drawn again as it was; the skinned
# close button ends the program with exit code 0.
set -euo pipefail
build=$1
command -v Xvfb >/dev/null && command -v xdotool >/dev/null && command -v xev >/dev/null && command -v xwd >/dev/null && command -v xcompmgr >/dev/null \
  && [ -x /usr/bin/convert ] || { echo "Xvfb, xdotool, xev, xwd, xcompmgr or ImageMagick is not installed"; exit 77; }
[ -f "$build/Skins/DarkGlass.asz" ] || { echo "the packed skins were not built"; exit 1; }
. "$(dirname "$0")/lib/xvfb.sh"
fail() { echo "$1"; cat "$work/out" 2>/dev/null; exit 1; }
mkdir -p "$work/app"
cp "$build/utrozvon" "$work/app/utrozvon"
cp -r "$build/Skins" "$work/app/Skins"
xcompmgr >/dev/null 2>&1 &
stop_pids="$stop_pids $!"
for _ in $(seq 1 100); do xprop -root _NET_WM_CM_S0 >/dev/null 2>&1 && break; sleep 0.05; done

UTROZVON_NOW=2024-01-01T06:00:00.000 UTROZVON_AUDIO_SINK=fakesink "$work/app/utrozvon" >"$work/out" 2>&1 &
app=$!
stop_pids="$stop_pids $app"
window=
for _ in $(seq 1 100); do
  window=$(xdotool search --onlyvisible --classname utrozvon 2>/dev/null | head -n1 || true)
  [ -n "$window" ] && break; sleep 0.05
done
[ -n "$window" ] || fail "the window never appeared"
sleep 0.8
geometry() { eval "$(xdotool getwindowgeometry --shell "$window")"; }
geometry
[ "$WIDTH" = 493 ] && [ "$HEIGHT" = 318 ] || fail "unexpected window size ${WIDTH}x$HEIGHT"
x0=$X y0=$Y

# The title bar left of the buttons (its icon, caption and band), as the screen shows it.
title() { xwd -root -silent | /usr/bin/convert xwd:- -crop 420x22+"$X"+"$Y" +repage "$1"; }
# Red, green, blue of a screen pixel.
pixel() { xwd -root -silent | /usr/bin/convert xwd:- -crop 1x1+"$1"+"$2" +repage rgb:- | od -A n -t u1 | xargs; }

# The desktop as the compositor paints it, far from the window.
desk=$(pixel 795 595)

# The drag: press on the caption, move in steps as a hand does, release.
xdotool mousemove $((X + 200)) $((Y + 10))
sleep 0.2
xdotool mousedown 1
for step in 1 2 3 4; do
  xdotool mousemove $((X + 200 + 30 * step)) $((Y + 10 + 20 * step))
  sleep 0.1
done
xdotool mouseup 1
sleep 0.5
geometry
[ "$X $Y" = "$((x0 + 120)) $((y0 + 80))" ] || fail "the drag left the window at $X $Y, not at $((x0 + 120)) $((y0 + 80))"
[ "$(pixel $((x0 + 10)) $((y0 + 10)))" = "$desk" ] || fail "the window's old place was not given back to the desktop"

xdotool mousemove 5 5
sleep 0.5
title "$work/before.png"
[ "$(pixel $((X + 200)) $((Y + 10)))" != "$desk" ] || fail "the title bar is not drawn at the new place"

# Skinned buttons, found in the window's image: minimise centred 59 pixels left of the right
# edge, close 26, both 11 below the top.
xev -root -event substructure >"$work/xev" 2>&1 &
stop_pids="$stop_pids $!"
sleep 0.3
xdotool mousemove $((X + WIDTH - 59)) $((Y + 11))
sleep 0.3
xdotool click 1
for _ in $(seq 1 60); do grep -q WM_CHANGE_STATE "$work/xev" && break; sleep 0.05; done
grep -q WM_CHANGE_STATE "$work/xev" || fail "the minimise button did not ask the window manager for iconic state"
# xev prints "ClientMessage event, serial N, synthetic YES, window 0x..." and on the next line
# the message type (not its data; ICCCM's WM_CHANGE_STATE only ever asks for iconic state).
asked=$(grep -B1 WM_CHANGE_STATE "$work/xev")
grep -q "window $(printf '0x%x' "$window")," <<<"$asked" || fail "the iconic state was asked for another window: $asked"
# What the window manager does with it, and later with a click on the task bar.
xdotool mousemove 5 5
xdotool windowunmap "$window"
sleep 0.3
[ "$(pixel $((X + 200)) $((Y + 10)))" = "$desk" ] || fail "the iconified window is still on the screen"
xdotool windowmap --sync "$window"
xdotool windowfocus --sync "$window"
sleep 0.8
geometry
[ "$X $Y" = "$((x0 + 120)) $((y0 + 80))" ] || fail "the restored window came back at $X $Y"
title "$work/after.png"
differing=$(compare -metric AE -fuzz 1% "$work/before.png" "$work/after.png" null: 2>&1 || true)
[ "$differing" = 0 ] || fail "the restored title bar differs from before in $differing pixels"
kill -0 "$app" 2>/dev/null || fail "the program ended"

xdotool mousemove $((X + WIDTH - 26)) $((Y + 11))
sleep 0.3
xdotool click 1
for _ in $(seq 1 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.05; done
kill -0 "$app" 2>/dev/null && fail "the close button did not end the program"
status=0
wait "$app" || status=$?
[ "$status" = 0 ] || fail "the program ended with $status"
echo "scenario passed"
