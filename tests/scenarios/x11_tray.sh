#!/usr/bin/env bash
# With trayer as the system tray on Xvfb: the demo's tray icon docks, a click on it reaches the
# window's callback, resting the pointer on it shows its tip, and after trayer restarts the icon docks again and still answers.
set -euo pipefail
build=$1
command -v Xvfb >/dev/null && command -v trayer >/dev/null || { echo "Xvfb or trayer is not installed"; exit 77; }
. "$(dirname "$0")/lib/xvfb.sh"

start_tray() {
  trayer --edge top --align right --widthtype request --height 24 --SetDockType true --transparent false >/dev/null 2>&1 &
  tray=$!
  stop_pids="$stop_pids $tray"
  for _ in $(seq 1 100); do xdotool search --classname trayer >/dev/null 2>&1 && return 0; sleep 0.05; done
  echo "trayer did not start"; exit 1
}

wait_for() {
  for _ in $(seq 1 100); do grep -q "$1" "$work/out" && return 0; sleep 0.05; done
  echo "never saw '$1'; the program said:"; cat "$work/out"; exit 1
}

click_icon() {
  sleep 0.3
  local icon
  icon=$(xdotool search --classname utrozvon-tray 2>/dev/null | tail -n1 || true)
  [ -n "$icon" ] || { echo "no tray icon window"; exit 1; }
  eval "$(xdotool getwindowgeometry --shell "$icon")"
  xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) click 1
}

# The icon window and the tip both carry the tip as their name: two of them when it shows.
tip_shown() {
  local n=0 w
  for w in $(xdotool search --onlyvisible --name . 2>/dev/null); do
    [ "$(xdotool getwindowname "$w" 2>/dev/null)" = "Утрозвон" ] && n=$((n + 1))
  done
  [ "$n" -ge 2 ]
}

start_tray
"$build/tools/platform_demo" --tray >"$work/out" 2>&1 &
demo=$!
stop_pids="$stop_pids $demo"
wait_for "tray icon added"
sleep 0.3
icon=$(xdotool search --classname utrozvon-tray 2>/dev/null | tail -n1 || true)
[ -n "$icon" ] || { echo "no tray icon window"; exit 1; }
eval "$(xdotool getwindowgeometry --shell "$icon")"
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
wait_for "tray hover"
for _ in $(seq 1 40); do tip_shown && break; sleep 0.05; done
tip_shown || { echo "the tip did not show"; exit 1; }
click_icon
wait_for "tray click 1"
! tip_shown || { echo "the tip stayed after the click"; exit 1; }
kill "$tray"
sleep 0.3
start_tray
for _ in $(seq 1 100); do [ "$(grep -c "tray icon added" "$work/out")" -ge 2 ] && break; sleep 0.05; done
[ "$(grep -c "tray icon added" "$work/out")" -ge 2 ] || { echo "the icon was not added to the new tray"; cat "$work/out"; exit 1; }
click_icon
wait_for "tray click 2"
for _ in $(seq 1 100); do kill -0 "$demo" 2>/dev/null || break; sleep 0.05; done
wait "$demo"
echo "scenario passed"
