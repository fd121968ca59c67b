#!/usr/bin/env bash
# The alarm clock from the outside: an armed, enabled row of today fires inside its second
# and its melody reaches the sound output; disarmed, another day, an invalid time or ticks
# outside the second start nothing.
set -euo pipefail
source "$(dirname "$0")/lib/alarm.sh"

monday_at() {  # TIME MELODY
  settings TRUE FALSE FALSE FALSE FALSE FALSE FALSE "$1" 07:00:00 07:00:00 07:00:00 07:00:00 07:00:00 07:00:00 \
    "$2" "" "" "" "" "" ""
}
fail() { echo "$1"; exit 1; }

# 1 January 2024 is a Monday. The first tick comes a second after the start.
monday_at 07:00:00 "$work/melody.wav"
run 2024-01-01T06:59:59.300 "wait 1800
shot $work/fired.png
quit"
[ "$(recorded)" = 1 ] || fail "expected one melody, got $(recorded)"
n=$(frames "$work"/out-*.wav)
[ "$n" -ge 21000 ] && [ "$n" -le 23100 ] || fail "melody has $n frames, expected about 22050"
[ "$(status_path_colours "$work/fired.png")" -gt 2 ] || fail "the status bar does not show the path"
rm -f "$work"/out-*.wav

# Disarmed with the toggle before the first tick.
run 2024-01-01T06:59:59.300 "wait 100
click 44 240
wait 1700
shot $work/disarmed.png
quit"
[ "$(recorded)" = 0 ] || fail "a disarmed schedule fired"
[ "$(status_path_colours "$work/disarmed.png")" -le 2 ] || fail "the path shows although nothing fired"

# Tuesday: Monday's row does not fire.
run 2024-01-02T06:59:59.300 "wait 1800
quit"
[ "$(recorded)" = 0 ] || fail "Monday's row fired on a Tuesday"

# An invalid time never fires; the program keeps running.
monday_at 25:00 "$work/melody.wav"
run 2024-01-01T06:59:59.300 "wait 1800
shot $work/invalid.png
quit"
[ "$(recorded)" = 0 ] || fail "an invalid time fired"
[ "$(status_path_colours "$work/invalid.png")" -le 2 ] || fail "a path shows although nothing fired"

# Ticks at 07:00:01.4 and later are outside the second.
monday_at 07:00:00 "$work/melody.wav"
run 2024-01-01T07:00:00.400 "wait 1800
quit"
[ "$(recorded)" = 0 ] || fail "a tick outside the second fired"
echo "scenario passed"
