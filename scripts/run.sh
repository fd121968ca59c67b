#!/usr/bin/env bash
# Sets up, builds and starts the alarm clock.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
# Until the alarm clock itself lands, this starts the platform's demonstration window.
exec build/tools/platform_demo "$@"
