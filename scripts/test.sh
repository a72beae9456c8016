#!/usr/bin/env bash
# Sets up and builds Sabrix, then runs every test headless.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "${SABRIX_BUILD_DIR:-build}" --output-on-failure -j2
