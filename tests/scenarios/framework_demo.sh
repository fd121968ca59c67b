#!/usr/bin/env bash
# The standard controls driven like a user would: a click on the check box, typing into
# the edit, Tab, a click on a button, the panel's menu opened with a right click and chosen
# with the keyboard. Each step must change what the form shows; the screenshots stay in
# $UTROZVON_SHOTS when set, for a person to look at.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
shots=${UTROZVON_SHOTS:-$work}
mkdir -p "$shots"
# Client coordinates of the form: group box at (8, 8), check box at (18, 30), edit at
# (18, 56), read-only edit at (18, 84), raised button at (8, 128).
cat >"$work/script" <<SCRIPT
wait 100
shot $shots/demo-1-start.png
click 40 39
shot $shots/demo-2-checked.png
click 150 66
key End
type  дописано
key Tab
shot $shots/demo-3-typed.png
click 53 143
shot $shots/demo-4-button.png
rclick 300 180
wait 50
key Down
shot $shots/demo-5-menu.png
key Enter
wait 50
shot $shots/demo-6-chosen.png
quit
SCRIPT
UTROZVON_BACKEND=headless UTROZVON_SCRIPT="$work/script" timeout 30 "$build/tools/framework_demo"
differs() {
  local n
  n=$(/usr/bin/convert "$1" "$2" -compose difference -composite -format '%[fx:mean>0?1:0]' info:)
  [ "$n" -gt 0 ] || { echo "no change between $(basename "$1") and $(basename "$2")"; exit 1; }
}
differs "$shots/demo-1-start.png" "$shots/demo-2-checked.png"
differs "$shots/demo-2-checked.png" "$shots/demo-3-typed.png"
differs "$shots/demo-3-typed.png" "$shots/demo-4-button.png"
differs "$shots/demo-4-button.png" "$shots/demo-5-menu.png"
differs "$shots/demo-5-menu.png" "$shots/demo-6-chosen.png"
echo "scenario passed"
