#!/usr/bin/env bash
# Screenshots of the alarm clock in each shipped skin, taken on the headless screen with the
# wall clock standing at 07:00:00, so every run draws the same pixels.
#
#   scripts/refshots.sh [BUILD_DIR]          rewrites tests/reference/*.png and docs/*.png
#   scripts/refshots.sh BUILD_DIR OUT_DIR    writes the shots into OUT_DIR only
#
# BUILD_DIR (default build) must hold the program and its packed skins (build/utrozvon,
# build/Skins/*.asz); nothing is built here. scenario.reference_shots takes the same shots
# and compares them with tests/reference. Per skin, three shots of the whole 560 x 380 screen:
#   SKIN-start.png   the window as it opens (status bar after the first tick)
#   SKIN-states.png  Monday checked, the schedule disarmed, the pointer over Tuesday's box
#   SKIN-menu.png    the popup menu opened over the day rows, its first item selected
#   SKIN-other.png   the system menu's skin chooser switched to the other skin at run time
#   SKIN-back.png    and switched back: the scenario asserts it equals SKIN-start.png
#   SKIN-toggle.png  the toggle armed again ("Вкл"), the pointer resting on it
#   SKIN-hot.png     the pointer over Wednesday's box, its glow faded fully in
#   SKIN-edit.png    Monday's time edit focused, the caret in a steady phase (see below)
#   SKIN-inactive.png the window inactive behind our own "Open" dialog (the browse button's
#                    fallback when no desktop chooser can run, as on the headless screen)
# and for the README, docs/SKIN.png: the window with its menu, cut from SKIN-menu.png.
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$src/build}" && pwd)
out=${2:-}
skins=(DarkGlass Daybreak)
screen=560x380

[ -x "$build/utrozvon" ] || { echo "refshots: no program at $build/utrozvon (build it first)" >&2; exit 1; }
for skin in "${skins[@]}"; do
  [ -f "$build/Skins/$skin.asz" ] || { echo "refshots: no $build/Skins/$skin.asz (build the skins target)" >&2; exit 1; }
done
command -v convert >/dev/null || { echo "refshots: ImageMagick's convert is missing (scripts/setup.sh)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if [ -n "$out" ]; then
  mkdir -p "$out"
  out=$(cd "$out" && pwd)
  shots=$out
else
  shots=$src/tests/reference
  mkdir -p "$shots" "$src/docs"
fi

# Client coordinates of the main window: Monday's box (56, 49), Tuesday's box (56, 73),
# Wednesday's box (56, 97), Monday's time edit (136, 50) and browse button (454, 50), the
# toggle (44, 240), the group box between the rows and the edits (100, 100), bare panel
# (250, 265); the title icon that opens the system menu is at screen (45, 42). The script's
# clock starts before the window is made, whose timer ticks a second after; with the wall
# clock standing, every later tick writes the same texts. The first shot waits for the first
# tick with room for a slow start, and the second for a tick after the toggle.
# The skin chooser is the system menu's first item; its list is in name order, the first name
# selected as it opens, so the other skin is one Down away from DarkGlass and none from
# Daybreak. Before the back shot the pointer returns to the screen's corner, where it was at
# start. The caret blinks every 530 ms from the moment the edit takes the focus, shown first:
# 1300 ms after the click lies in the middle of its second shown phase, 240 ms from either
# edge, and by then the edit's hot fade has long ended. The "Open" dialog's own edit takes the
# focus as the dialog opens: 800 ms after the click its caret is in its first hidden phase.
shoot() {
  local skin=$1 app=$work/$1 toOther toBack
  if [ "$skin" = DarkGlass ]; then toOther='key Down'; toBack=''; else toOther=''; toBack='key Down'; fi
  mkdir -p "$app"
  cp "$build/utrozvon" "$app/"
  cp -r "$build/Skins" "$app/Skins"
  printf '%s\n' "$skin" >"$app/skin.txt"
  cat >"$app/script" <<EOF
wait 2500
shot $shots/$skin-start.png
click screen 45 42
wait 300
key Down
key Right
wait 200
$toOther
key Enter
wait 1500
shot $shots/$skin-other.png
click screen 45 42
wait 300
key Down
key Right
wait 200
$toBack
key Enter
move screen 0 0
wait 1500
shot $shots/$skin-back.png
click 56 49
click 44 240
move 56 73
wait 2000
shot $shots/$skin-states.png
rclick 100 100
wait 300
key Down
wait 300
shot $shots/$skin-menu.png
key Escape
wait 100
click 44 240
wait 1500
shot $shots/$skin-toggle.png
move 56 97
wait 800
shot $shots/$skin-hot.png
click 136 50
move 250 265
wait 1300
shot $shots/$skin-edit.png
click 454 50
wait 800
shot $shots/$skin-inactive.png
key Escape
wait 300
quit
EOF
  UTROZVON_BACKEND=headless UTROZVON_SCREEN=$screen UTROZVON_NOW=2024-01-01T07:00:00.500 \
    UTROZVON_FREEZE_CLOCK=1 UTROZVON_SCRIPT="$app/script" UTROZVON_AUDIO_SINK=fakesink \
    timeout 60 "$app/utrozvon" >"$app/log" 2>&1 || { echo "refshots: $skin run failed:" >&2; cat "$app/log" >&2; return 1; }
}

# The skins run side by side: each is one process of about fifteen seconds.
pids=()
for skin in "${skins[@]}"; do shoot "$skin" & pids+=($!); done
status=0
for pid in "${pids[@]}"; do wait "$pid" || status=1; done
[ "$status" = 0 ] || exit 1
for skin in "${skins[@]}"; do
  for kind in start other back states menu toggle hot edit inactive; do
    [ -s "$shots/$skin-$kind.png" ] || { echo "refshots: $skin-$kind.png was not taken" >&2; exit 1; }
  done
done

# The window sits centred on the screen: 493 x 318 at (33, 31), its menu inside it.
if [ -z "$out" ]; then
  for skin in "${skins[@]}"; do
    convert "$shots/$skin-menu.png" -crop 493x318+33+31 +repage -strip "$src/docs/$skin.png"
  done
fi
echo "refshots: $(ls "$shots"/*.png | wc -l) shots in $shots"
