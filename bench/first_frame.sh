#!/usr/bin/env bash
# Process start to the first frame of the alarm clock, median of RUNS (default 20) starts,
# on an Xvfb of its own (the first DAMAGE event the X server sends for its window) and on
# the headless screen (the program's own report of its first present, read from a pipe).
# Builds nothing: BUILD_DIR must hold utrozvon and bench/first_frame_probe.
# FIRST_FRAME_PROGRAM=PATH times that program where it lies instead, e.g. build/bench/skinned_form
# (a main-window-sized form framed by the shipped skin through a skin provider).
# SKINNED=1 puts BUILD_DIR/Skins beside the copy of the program, so it starts skinned.
# MEMORY=1 adds "rss KB" (the program's resident set at its first frame on Xvfb) and
# "probe_rss KB" (the probe's own, a minimal X client), medians of RUNS starts.
# Usage: bench/first_frame.sh [BUILD_DIR]     prints "x11 US" and "headless US" lines
set -euo pipefail
build=${1:-build}
runs=${RUNS:-20}
probe="$build/bench/first_frame_probe"
program=${FIRST_FRAME_PROGRAM:-}
for f in "${program:-$build/utrozvon}" "$probe"; do
  [ -x "$f" ] || { echo "first_frame.sh: $f is missing; build it first" >&2; exit 1; }
done
work=$(mktemp -d)
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 1 100); do [ -s "$work/display" ] && break; sleep 0.05; done
display=:$(head -n1 "$work/display")
# A copy beside no Skins folder starts as every user's first run does.
if [ -z "$program" ]; then
  cp "$build/utrozvon" "$work/"
  program="$work/utrozvon"
  if [ "${SKINNED:-0}" = 1 ]; then
    [ -d "$build/Skins" ] || { echo "first_frame.sh: $build/Skins is missing; build skins" >&2; exit 1; }
    cp -r "$build/Skins" "$work/"
  fi
fi
median() {  # BACKEND
  local times=()
  for _ in $(seq "$runs"); do
    times+=("$(DISPLAY=$display "$probe" "$1" "$program")")
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p"
}
echo "x11 $(median x11)"
echo "headless $(median headless)"
if [ "${MEMORY:-0}" = 1 ]; then
  for _ in $(seq "$runs"); do DISPLAY=$display "$probe" x11-rss "$program"; done >"$work/rss"
  middle=$(( (runs + 1) / 2 ))
  echo "rss $(cut -d' ' -f1 "$work/rss" | sort -n | sed -n "${middle}p")"
  echo "probe_rss $(cut -d' ' -f2 "$work/rss" | sort -n | sed -n "${middle}p")"
fi
