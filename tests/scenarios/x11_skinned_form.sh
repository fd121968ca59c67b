#!/usr/bin/env bash
# A skinned form on X11 without a window manager: the forms test ProviderOnX11 shows a form
# framed by a skin with rounded corners and checks the window's XShape rectangles; this script
# drags the title bar with xdotool, and both sides check that the window moved with it. Then,
# with xcompmgr running, the form comes up through its show animation.
set -euo pipefail
build=$1
command -v Xvfb >/dev/null && command -v xdotool >/dev/null || { echo "Xvfb or xdotool is not installed"; exit 77; }
[ -x "$build/tests/forms_tests" ] || { echo "forms_tests is not built"; exit 77; }
. "$(dirname "$0")/lib/xvfb.sh"

UTROZVON_PROVIDER_X11=drag "$build/tests/forms_tests" --gtest_filter='ProviderOnX11.*' >"$work/out" 2>&1 &
prog=$!
stop_pids="$stop_pids $prog"
for _ in $(seq 1 200); do
  grep -q "skinned: ready" "$work/out" && break
  kill -0 "$prog" 2>/dev/null || break
  sleep 0.05
done
grep -q "skinned: ready" "$work/out" || { echo "the form never came up:"; cat "$work/out"; exit 1; }
read -r _ _ window x y < <(grep "skinned: ready" "$work/out")
eval "$(xdotool getwindowgeometry --shell "$window")"
[ "$X $Y" = "$x $y" ] || { echo "the X window is at $X $Y, the form says $x $y"; exit 1; }

# Press in the title bar (3 + 19 pixels high), move there in steps, release: 120 right, 80 down.
xdotool mousemove $((X + 100)) $((Y + 10))
sleep 0.1
xdotool mousedown 1
for i in 1 2 3 4; do
  sleep 0.05
  xdotool mousemove $((X + 100 + 30 * i)) $((Y + 10 + 20 * i))
done
sleep 0.1
xdotool mouseup 1
wait "$prog" || { echo "the program's side failed:"; cat "$work/out"; exit 1; }
grep -q "skinned: moved to $((x + 120)) $((y + 80))" "$work/out" || { echo "the window did not follow the drag:"; cat "$work/out"; exit 1; }

command -v xcompmgr >/dev/null || { echo "xcompmgr is not installed: the show animation is not checked"; echo "scenario passed"; exit 0; }
xcompmgr >/dev/null 2>&1 &
stop_pids="$stop_pids $!"
UTROZVON_PROVIDER_X11=compositor "$build/tests/forms_tests" --gtest_filter='ProviderOnX11.*' >"$work/out" 2>&1 ||
  { echo "the show animation over a compositor failed:"; cat "$work/out"; exit 1; }
grep -q "skinned: shown after 11 frames" "$work/out" || { echo "no show animation:"; cat "$work/out"; exit 1; }
echo "scenario passed"
