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

# Client coordinates of the main window: Monday's box (56, 49), Tuesday's box (56, 73), the
# toggle (44, 240), the group box between the rows and the edits (100, 100). The script's
# clock starts before the window is made, whose timer ticks a second after; with the wall
# clock standing, every later tick writes the same texts. The first shot waits for the first
# tick with room for a slow start, and the second for a tick after the toggle.
shoot() {
  local skin=$1 app=$work/$1
  mkdir -p "$app"
  cp "$build/utrozvon" "$app/"
  cp -r "$build/Skins" "$app/Skins"
  printf '%s\n' "$skin" >"$app/skin.txt"
  cat >"$app/script" <<EOF
wait 2500
shot $shots/$skin-start.png
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
quit
EOF
  UTROZVON_BACKEND=headless UTROZVON_SCREEN=$screen UTROZVON_NOW=2024-01-01T07:00:00.500 \
    UTROZVON_FREEZE_CLOCK=1 UTROZVON_SCRIPT="$app/script" UTROZVON_AUDIO_SINK=fakesink \
    timeout 60 "$app/utrozvon" >"$app/log" 2>&1 || { echo "refshots: $skin run failed:" >&2; cat "$app/log" >&2; return 1; }
}

# The skins run side by side: each is one process of about five seconds.
pids=()
for skin in "${skins[@]}"; do shoot "$skin" & pids+=($!); done
status=0
for pid in "${pids[@]}"; do wait "$pid" || status=1; done
[ "$status" = 0 ] || exit 1
for skin in "${skins[@]}"; do
  for kind in start states menu; do
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
