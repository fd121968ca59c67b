#!/usr/bin/env bash
# On a real X server (Xvfb): the demo maps its window where it asked, the screen shows the
# frame the headless screen shows, typed Cyrillic text does not disturb it, and a click on
# the close button ends the program with exit code 0.
set -euo pipefail
build=$1
command -v Xvfb >/dev/null || { echo "Xvfb is not installed"; exit 77; }
. "$(dirname "$0")/lib/xvfb.sh"

start=$(date +%s%N)
"$build/tools/platform_demo" >"$work/out" 2>&1 &
demo=$!
stop_pids="$stop_pids $demo"
for _ in $(seq 1 100); do xdotool search --classname utrozvon >/dev/null 2>&1 && break; sleep 0.05; done
window=$(xdotool search --classname utrozvon 2>/dev/null | head -n1 || true)
[ -n "$window" ] || { echo "the demo window never appeared"; exit 1; }
echo "window mapped after $(( ($(date +%s%N) - start) / 1000000 )) ms"
eval "$(xdotool getwindowgeometry --shell "$window")"
[ "$X" = 100 ] && [ "$Y" = 100 ] && [ "$WIDTH" = 400 ] && [ "$HEIGHT" = 240 ] || {
  echo "window at $X,$Y size ${WIDTH}x$HEIGHT, expected 100,100 400x240"; exit 1; }
sleep 0.3
LANG=C.UTF-8 xdotool windowfocus --sync "$window" type --delay 100 "Ая"
xwd -root -silent | /usr/bin/convert xwd:- "$work/x11.png"
UTROZVON_BACKEND=headless UTROZVON_SCREEN=800x600 UTROZVON_SCRIPT=<(printf 'wait 100\nshot %s\nquit\n' "$work/headless.png") \
  "$build/tools/platform_demo"
# The window area must match pixel for pixel; the desktop around it differs by design.
/usr/bin/convert "$work/x11.png" -crop 400x240+100+100 +repage "$work/x11-window.png"
/usr/bin/convert "$work/headless.png" -crop 400x240+100+100 +repage "$work/headless-window.png"
ae=$(/usr/bin/compare -metric AE "$work/x11-window.png" "$work/headless-window.png" null: 2>&1 || true)
[ "$ae" = 0 ] || { echo "X11 and headless pictures differ in $ae pixels"; exit 1; }
# Typed Cyrillic arrives as WM_CHAR code points.
for _ in $(seq 1 40); do grep -q "U+044F" "$work/out" && break; sleep 0.05; done
grep -q "char U+0410" "$work/out" && grep -q "char U+044F" "$work/out" || {
  echo "typed text did not arrive as characters:"; cat "$work/out"; exit 1; }

# Copy in one program, paste in another: the X CLIPBOARD selection carries it.
xdotool windowfocus --sync "$window" key ctrl+c
"$build/tools/platform_demo" >"$work/out2" 2>&1 &
second=$!
stop_pids="$stop_pids $second"
for _ in $(seq 1 100); do [ "$(xdotool search --classname utrozvon 2>/dev/null | wc -l)" -ge 2 ] && break; sleep 0.05; done
other=$(xdotool search --classname utrozvon | grep -v "^$window$" | head -n1)
sleep 0.2
xdotool windowfocus --sync "$other" key ctrl+v
for _ in $(seq 1 60); do grep -q "pasted" "$work/out2" && break; sleep 0.05; done
grep -q "pasted: Утрозвон — проверка окна" "$work/out2" || { echo "paste failed:"; cat "$work/out2"; exit 1; }
xdotool windowfocus --sync "$other" key alt+F4
wait "$second" || { echo "Alt+F4 did not end the second program cleanly"; exit 1; }

xdotool mousemove 487 111 click 1
for _ in $(seq 1 100); do kill -0 "$demo" 2>/dev/null || break; sleep 0.05; done
wait "$demo"
status=$?
[ "$status" = 0 ] || { echo "demo exited with $status"; exit 1; }
echo "scenario passed"
