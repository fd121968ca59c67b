#!/usr/bin/env bash
# skintool render paints one section of a generated skin into a 24-bit PNG: the frame image
# of the requested state on the edges, its see-through corner showing the background, the
# section's colour in the middle, a half-transparent section mixed with the background.
# Unknown skins and sections, bad sizes, states and colours fail with a message and exit 1.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
skintool="$build/tools/skintool"
[ -x "$skintool" ] || { echo "no skintool"; exit 77; }
skin="$work/Render"
mkdir -p "$skin"
printf '%s\r\n' '[GLOBALINFO]' 'VERSION=6.5' \
  '[BUTTON]' 'COLOR=$0080FF' 'BORDERSMASK=!FRAME.BMP!3!1!0' \
  '[GLASS]' 'COLOR=$00FF00' 'TRANSPARENCY=50' >"$skin/Options.dat"
# Three 8 x 4 state frames (blue, green, yellow), each with a see-through (fuchsia) outer
# corner pixel, above their masks: black shows the frame, white keeps what lies below (the
# 4 x 2 centre).
/usr/bin/convert -size 24x8 xc:black \
  -fill '#0000FF' -draw 'rectangle 0,0 7,3' -fill '#00FF00' -draw 'rectangle 8,0 15,3' \
  -fill '#FFFF00' -draw 'rectangle 16,0 23,3' -fill '#FF00FF' \
  -draw 'point 0,0' -draw 'point 8,0' -draw 'point 16,0' -fill white \
  -draw 'rectangle 2,5 5,6' -draw 'rectangle 10,5 13,6' -draw 'rectangle 18,5 21,6' \
  -type TrueColor BMP3:"$skin/FRAME.BMP"

pixel() {  # FILE X Y -> #RRGGBB
  /usr/bin/convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | head -1
}
expect() {  # FILE X Y COLOUR WHAT
  local got
  got=$(pixel "$1" "$2" "$3")
  [ "$got" = "$4" ] || { echo "$5: pixel $2,$3 is $got, expected $4"; exit 1; }
}

"$skintool" render "$skin" button 40x20 --bg '#102030' "$work/normal.png"
[ "$(od -An -tu1 -j24 -N2 "$work/normal.png" | tr -s ' ')" = " 8 2" ] || { echo "not a 24-bit RGB PNG"; exit 1; }
[ "$(/usr/bin/identify -format '%wx%h' "$work/normal.png")" = "40x20" ] || { echo "wrong picture size"; exit 1; }
expect "$work/normal.png" 0 0 '#102030' "see-through corner"
expect "$work/normal.png" 1 0 '#0000FF' "frame edge, state 0"
expect "$work/normal.png" 39 19 '#0000FF' "frame's far corner"
# The white mask keeps 255/256 of the section colour and adds 1/256 of the blue frame:
# red (255 * 255) >> 8 = 254, green (128 * 255) >> 8 = 127, blue 255 >> 8 = 0.
expect "$work/normal.png" 20 10 '#FE7F00' "section colour in the middle"

"$skintool" render "$skin" BUTTON 40x20 --state 1 "$work/hot.png"
expect "$work/hot.png" 0 0 '#FFFFFF' "default white background"
expect "$work/hot.png" 1 0 '#00FF00' "frame edge, state 1"
"$skintool" render "$skin" BUTTON 40x20 --state 3 "$work/fourth.png"
expect "$work/fourth.png" 1 0 '#FFFF00' "state 3 falls back to the last frame"

"$skintool" render "$skin" GLASS 8x8 --bg '#000000' "$work/glass.png"
glass=$(pixel "$work/glass.png" 4 4)
case "$glass" in
  '#007F00' | '#008000') ;;
  *) echo "half-transparent green over black is $glass"; exit 1 ;;
esac

fails() {  # EXPECTED-MESSAGE ARGS...
  local message=$1
  shift
  if "$skintool" render "$@" 2>"$work/err"; then echo "accepted: $*"; exit 1; fi
  grep -q -- "$message" "$work/err" || { echo "no clear message for $*:"; cat "$work/err"; exit 1; }
}
fails "No skin found" "$work/Nowhere" BUTTON 10x10 "$work/x.png"
fails "no section 'EDIT'" "$skin" EDIT 10x10 "$work/x.png"
fails "bad size '0x10'" "$skin" BUTTON 0x10 "$work/x.png"
fails "bad size '4097x1'" "$skin" BUTTON 4097x1 "$work/x.png"
fails "bad size '12'" "$skin" BUTTON 12 "$work/x.png"
fails "bad state '4'" "$skin" BUTTON 10x10 --state 4 "$work/x.png"
fails "bad state '-1'" "$skin" BUTTON 10x10 --state -1 "$work/x.png"
fails "bad background 'red'" "$skin" BUTTON 10x10 --bg red "$work/x.png"
"$skintool" render "$skin" BUTTON 4096x1 "$work/wide.png" || { echo "4096 wide was refused"; exit 1; }
set +e
"$skintool" render "$skin" BUTTON 0x0 "$work/x.png" 2>/dev/null
[ $? = 1 ] || { echo "a bad size does not exit 1"; exit 1; }
set -e
[ ! -e "$work/x.png" ] || { echo "a failed render wrote a picture"; exit 1; }
echo "scenario passed"
