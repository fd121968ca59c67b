#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for SECONDS seconds (default 60).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
[ "${2:-}" = --no-setup ] || scripts/setup.sh
CC=clang-16 CXX=clang++-16 cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DUTROZVON_FUZZ=ON -DUTROZVON_TESTS=OFF -DUTROZVON_BENCH=OFF -DUTROZVON_SANITIZE=ON >/dev/null
cmake --build build-fuzz -j "$(nproc)"
failed=0
for target in build-fuzz/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  corpus="build-fuzz/corpus/$(basename "$target")"
  mkdir -p "$corpus"
  echo "== $(basename "$target")"
  seeds="fuzz/seeds/$(basename "$target")"
  [ -d "$seeds" ] || seeds=
  if ! "$target" -max_total_time="$seconds" -rss_limit_mb=2048 "$corpus" $seeds >"$corpus.log" 2>&1; then
    failed=1
  fi
  grep -E "Done [0-9]+ runs|ERROR|SUMMARY|crash-" "$corpus.log" || true
done
exit $failed
