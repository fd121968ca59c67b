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
  # fontconfig's own process-long caches are not our leaks. The list is copied where the
  # scenarios that run the program as an unprivileged user can read it too.
  supp=$(mktemp /tmp/utrozvon-lsan.XXXXXX)
  cp tests/lsan.supp "$supp"
  chmod 644 "$supp"
  (cd build-asan && LSAN_OPTIONS="suppressions=$supp" ctest --output-on-failure -j "$jobs") || status=1
  rm -f "$supp"
fi
if [ "${UTROZVON_SKIP_FUZZ:-0}" != 1 ]; then
  # The fuzz targets are built with clang: building them here keeps the readers' code
  # portable, and a short run over the seeds catches a reader that crashes at once.
  echo "== fuzz targets (clang, a few seconds each)"
  scripts/fuzz.sh 5 --no-setup || status=1
fi
exit $status
