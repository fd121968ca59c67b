#!/usr/bin/env bash
# Process start to the first presented frame of the alarm clock, on an Xvfb of its own and
# on the headless screen: median of RUNS (default 20) starts each.
# Usage: bench/first_frame.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build}
runs=${RUNS:-20}
work=$(mktemp -d)
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 1 100); do [ -s "$work/display" ] && break; sleep 0.05; done
display=:$(head -n1 "$work/display")
cp "$build/utrozvon" "$work/"
measure() {  # BACKEND
  local times=() start line
  for _ in $(seq "$runs"); do
    start=$(date +%s%N)
    if [ "$1" = x11 ]; then
      DISPLAY=$display UTROZVON_BACKEND=x11 UTROZVON_REPORT_FIRST_FRAME=1 timeout 5 "$work/utrozvon" 2>"$work/err" &
    else
      UTROZVON_BACKEND=headless UTROZVON_REPORT_FIRST_FRAME=1 timeout 5 "$work/utrozvon" 2>"$work/err" &
    fi
    local pid=$!
    for _ in $(seq 1 200); do grep -q 'first frame' "$work/err" && break; sleep 0.01; done
    kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true
    line=$(grep -o 'at [0-9]*' "$work/err" | cut -c4-)
    times+=($(( (line - start) / 1000 )))
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p"
}
echo "first frame, X11 (Xvfb): median $(measure x11) us"
echo "first frame, headless:   median $(measure headless) us"
