#!/usr/bin/env bash
# On a real X server: the alarm clock minimised with its own button and brought back by the
# window manager (task bar, Alt+Tab) is a normal window again and takes clicks. No window
# manager runs here, so the script does what one does: unmap the window, later map it again.
set -euo pipefail
build=$1
command -v Xvfb >/dev/null && command -v xdotool >/dev/null || { echo "Xvfb or xdotool is not installed"; exit 77; }
. "$(dirname "$0")/lib/xvfb.sh"
mkdir -p "$work/app"
cp "$build/utrozvon" "$work/app/utrozvon"

UTROZVON_NOW=2024-01-01T06:00:00.000 "$work/app/utrozvon" >"$work/out" 2>&1 &
app=$!
stop_pids="$stop_pids $app"
window=
for _ in $(seq 1 100); do
  window=$(xdotool search --onlyvisible --classname utrozvon 2>/dev/null | head -n1 || true)
  [ -n "$window" ] && break; sleep 0.05
done
[ -n "$window" ] || { echo "the window never appeared"; cat "$work/out"; exit 1; }
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$window")"

# The first row's check box, as the screen shows it.
box() { xwd -root -silent | /usr/bin/convert xwd:- -crop 12x12+$((X + 19))+$((Y + 65)) +repage rgb:- | md5sum; }
unchecked=$(box)

# The minimise button of the caption, 47 pixels left of the right edge.
xdotool mousemove $((X + WIDTH - 47)) $((Y + 12)) click 1
sleep 0.3
xdotool windowunmap "$window"
sleep 0.3
[ "$(box)" != "$unchecked" ] || { echo "the minimised window is still on the screen"; exit 1; }
xdotool windowmap "$window"
sleep 0.5
[ "$(box)" = "$unchecked" ] || { echo "the window is not back in its place"; xwininfo -id "$window"; exit 1; }
xdotool mousemove $((X + 25)) $((Y + 71)) click 1
sleep 0.5
[ "$(box)" != "$unchecked" ] || { echo "the restored window does not take clicks"; cat "$work/out"; exit 1; }
kill -0 "$app" || { echo "the program ended"; cat "$work/out"; exit 1; }
echo "scenario passed"
