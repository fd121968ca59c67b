#!/usr/bin/env bash
# Sets up, builds and runs every test: the unit suites (one executable per layer), the
# scenario tests, and a sanitizer build of the suites.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
jobs=$(nproc)
status=0
(cd build && ctest --output-on-failure -j "$jobs") || status=1
if [ "${UTROZVON_SKIP_SANITIZE:-0}" != 1 ]; then
  echo "== sanitizer build (ASan + UBSan)"
  BUILD_DIR=build-asan BUILD_TYPE=RelWithDebInfo scripts/build.sh -DUTROZVON_SANITIZE=ON -DUTROZVON_BENCH=OFF
  (cd build-asan && ctest --output-on-failure -j "$jobs") || status=1
fi
exit $status
