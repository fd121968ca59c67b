#!/usr/bin/env bash
# Figures of the alarm clock as a whole, on the headless screen:
#   start-up: from exec to the end of a script that quits at the first chance (the window
#             has been shown and presented by then), median of 20 runs;
#   memory:   resident set two seconds after the start (GStreamer loaded by then);
#   idle CPU: user + system time over IDLE_SECONDS (default 60) of ticking.
# Usage: bench/app_figures.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$build/utrozvon" "$work/"
export UTROZVON_BACKEND=headless
printf 'quit\n' >"$work/quit"
times=()
for _ in $(seq 20); do
  start=$(date +%s%N)
  UTROZVON_SCRIPT="$work/quit" "$work/utrozvon"
  times+=($(( ($(date +%s%N) - start) / 1000 )))
done
median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n 10p)
echo "start-up to first frame and exit: median ${median} us"

idle=${IDLE_SECONDS:-60}
printf 'wait %d\nquit\n' $(( (idle + 4) * 1000 )) >"$work/idle"
UTROZVON_SCRIPT="$work/idle" "$work/utrozvon" &
pid=$!
sleep 2
rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
echo "resident memory after start: ${rss} kB"
ticks_per_second=$(getconf CLK_TCK)
cpu_start=$(awk '{print $14 + $15}' "/proc/$pid/stat")
sleep "$idle"
cpu_end=$(awk '{print $14 + $15}' "/proc/$pid/stat")
wait "$pid"
awk -v d=$((cpu_end - cpu_start)) -v hz="$ticks_per_second" -v s="$idle" \
  'BEGIN { printf "idle CPU over %d s: %.3f s (%.4f%%)\n", s, d / hz, 100 * d / hz / s }'
