#!/usr/bin/env bash
# A skinned frame on X11: a click on the skinned minimise button minimises the window; brought
# back as a window manager would (no window manager runs here, so the script unmaps and maps
# it), the window shows its skinned title bar and buttons again (the forms test
# TitleButtonsOnX11 does the program's side).
set -euo pipefail
build=$1
command -v Xvfb >/dev/null && command -v xdotool >/dev/null && command -v xwd >/dev/null \
  && [ -x /usr/bin/convert ] || { echo "Xvfb, xdotool, xwd or ImageMagick is not installed"; exit 77; }
[ -x "$build/tests/forms_tests" ] || { echo "forms_tests is not built"; exit 77; }
. "$(dirname "$0")/lib/xvfb.sh"

UTROZVON_FRAME_X11="$work/done" "$build/tests/forms_tests" \
  --gtest_filter=TitleButtonsOnX11.* >"$work/out" 2>&1 &
prog=$!
stop_pids="$stop_pids $prog"
wait_for() {
  for _ in $(seq 1 400); do grep -q "$1" "$work/out" && return 0; sleep 0.05; done
  echo "never saw '$1':"; cat "$work/out"; exit 1
}
wait_for "frame: shown"
read -r wx wy mx my < <(sed -n 's/^frame: shown at \([0-9-]*\) \([0-9-]*\), minimise at \([0-9-]*\) \([0-9-]*\)$/\1 \2 \3 \4/p' "$work/out")

# Red, green, blue of a screen pixel.
pixel() { xwd -root -silent | /usr/bin/convert xwd:- -crop 1x1+$1+$2 +repage rgb:- | od -A n -t u1; }

xdotool mousemove "$mx" "$my"
sleep 0.2
xdotool click 1
wait_for "frame: minimised"
window=$(xdotool search --name '^Frame X11$' | head -n1)
[ -n "$window" ] || { echo "no window named Frame X11"; exit 1; }
xdotool mousemove 5 5
xdotool windowunmap "$window"
sleep 0.3
xdotool windowmap "$window"
wait_for "frame: restored"
sleep 0.3

# The title band (blue, active or not), the close button (red, normal or faint over blue)
# and the minimise button (green, likewise).
# UTROZVON_FRAME_SHOT_X11=file.png keeps the screen for a person to look at.
if [ -n "${UTROZVON_FRAME_SHOT_X11:-}" ]; then
  xwd -root -silent | /usr/bin/convert xwd:- "$UTROZVON_FRAME_SHOT_X11"
fi
read -r r g b < <(pixel $((wx + 200)) $((wy + 10)))
[ "$r $g" = "0 0" ] && { [ "$b" = 150 ] || [ "$b" = 250 ]; } || { echo "title shows $r $g $b"; cat "$work/out"; exit 1; }
read -r r g b < <(pixel $((wx + 475)) $((wy + 10)))
{ [ "$r $g $b" = "150 0 0" ] || [ "$r $g $b" = "75 0 75" ] || [ "$r $g $b" = "75 0 125" ]; } \
  || { echo "close shows $r $g $b"; exit 1; }
read -r r g b < <(pixel "$mx" "$my")
{ [ "$r $g $b" = "0 150 0" ] || [ "$r $g $b" = "0 75 75" ] || [ "$r $g $b" = "0 75 125" ]; } \
  || { echo "minimise shows $r $g $b"; exit 1; }
touch "$work/done"
wait "$prog" || { echo "the program's side failed:"; cat "$work/out"; exit 1; }
echo "scenario passed"
