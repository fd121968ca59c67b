#!/usr/bin/env bash
# The demo window shows the standard frame in a screenshot, and clicking its close button
# ends the program with exit code 0.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Client coordinates: the window is at (100,100), 400 wide, frame 3, caption 19; the close
# button sits at the right end of the caption, above the client area's top edge.
cat >"$work/script" <<'SCRIPT'
wait 100
shot SHOT
click screen 484 111
SCRIPT
sed -i "s#SHOT#$work/frame.png#" "$work/script"
UTROZVON_BACKEND=headless UTROZVON_SCRIPT="$work/script" timeout 20 "$build/tools/platform_demo"
test -s "$work/frame.png" || { echo "no screenshot written"; exit 1; }
# The caption bar left end is dark blue, the close button face is light grey.
/usr/bin/convert "$work/frame.png" -crop 1x1+110+111 -format '%[fx:int(255*b)] %[fx:int(255*r)]' info: >"$work/caption"
read -r blue red <"$work/caption" || true
[ "$blue" -gt 100 ] && [ "$red" -lt 60 ] || { echo "caption colour wrong: b=$blue r=$red"; exit 1; }
echo "scenario passed"
