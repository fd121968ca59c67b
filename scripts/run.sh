#!/usr/bin/env bash
# Sets up, builds and starts the alarm clock.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
# The schedule is kept in build/nastr.ini, beside the program.
exec build/utrozvon "$@"
