#!/usr/bin/env bash
# Installs what the build needs (Debian 12 packages) and builds Sabrix into build/.
# Usage: scripts/setup.sh [--run-only] [extra cmake options]
#   --run-only  builds the program, its template and its user guide, not the tests and
#               benchmarks.
set -euo pipefail
cd "$(dirname "$0")/.."

targets=()
if [ "${1:-}" = "--run-only" ]; then
  targets=(--target sabrix user_guide)
  shift
fi

packages=(build-essential cmake ninja-build pkg-config qt6-base-dev libgl-dev
          libsqlite3-dev libsqlitecpp-dev libgtest-dev fonts-dejavu-core
          qt6-svg-dev desktop-file-utils libfftw3-dev)
scripts/install-packages.sh "${packages[@]}"

build_dir="${SABRIX_BUILD_DIR:-build}"
cmake -S . -B "$build_dir" -G Ninja "$@" >/dev/null
cmake --build "$build_dir" "${targets[@]}"
