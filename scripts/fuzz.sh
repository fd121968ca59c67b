#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for SECONDS seconds (default 60).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
scripts/setup.sh
CC=clang-16 CXX=clang++-16 cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DUTROZVON_FUZZ=ON -DUTROZVON_TESTS=OFF -DUTROZVON_BENCH=OFF -DUTROZVON_SANITIZE=ON >/dev/null
cmake --build build-fuzz -j "$(nproc)"
for target in build-fuzz/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  corpus="build-fuzz/corpus/$(basename "$target")"
  mkdir -p "$corpus"
  echo "== $(basename "$target")"
  "$target" -max_total_time="$seconds" -rss_limit_mb=2048 "$corpus" 2>&1 | grep -E "Done [0-9]+ runs|ERROR|SUMMARY|crash-" || true
done
