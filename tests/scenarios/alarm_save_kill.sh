#!/usr/bin/env bash
# Killing the program at random moments while it saves over and over never leaves a damaged
# settings file: each time the file holds either the old or the new schedule, whole, and
# the next start clears any half-written temporary file.
set -euo pipefail
source "$(dirname "$0")/lib/alarm.sh"
fail() { echo "$1"; exit 1; }

script="wait 50"
for _ in $(seq 200); do
  script+=$'\nclick 56 49\nrclick 240 250\nkey Down\nkey Enter'
done
printf '%s\n' "$script" >"$work/script"
ini="$work/app/nastr.ini"
saves_seen=0
for round in $(seq 20); do
  UTROZVON_BACKEND=headless UTROZVON_SCREEN=800x600 UTROZVON_SCRIPT="$work/script" "$work/app/utrozvon" &
  pid=$!
  sleep "0.$(( RANDOM % 40 + 15 ))"
  kill -9 "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  [ -f "$ini" ] || continue
  saves_seen=$((saves_seen + 1))
  [ "$(grep -c $'\r$' "$ini")" = 21 ] || fail "round $round: the file does not hold 21 lines"
  first=$(head -n 1 "$ini")
  [ "$first" = $'TRUE\r' ] || [ "$first" = $'FALSE\r' ] || fail "round $round: line 1 reads '$first'"
  for n in 2 3 4 5 6 7; do [ "$(sed -n ${n}p "$ini")" = $'FALSE\r' ] || fail "round $round: line $n damaged"; done
  for n in 8 9 10 11 12 13 14; do [ "$(sed -n ${n}p "$ini")" = $'07:00:00\r' ] || fail "round $round: line $n damaged"; done
done
[ "$saves_seen" -gt 0 ] || fail "no save finished in any round"
# A start after the last kill removes a temporary file that a kill left behind.
run 2024-01-01T12:00:00 "wait 100
quit"
[ ! -e "$ini.tmp" ] || fail "the temporary file survived a new start"
echo "scenario passed ($saves_seen rounds with a saved file)"
