#!/usr/bin/env bash
# Installs what the build needs (Debian 12 packages) and builds Sabrix into build/.
# Run it as yourself: apt-get alone runs as root, through sudo (which asks for your password
# when it must), or directly when the script runs as root (as in CI). The build folder belongs
# to whoever runs the script.
# Usage: scripts/setup.sh [--run-only] [extra cmake options]
#   --run-only  builds what the program and its install need (the template, the user guide,
#               the manual page), not the tests and benchmarks.
set -euo pipefail
cd "$(dirname "$0")/.."

targets=()
if [ "${1:-}" = "--run-only" ]; then
  targets=(--target sabrix user_guide man_page)
  shift
fi

packages=(build-essential cmake ninja-build pkg-config qt6-base-dev libgl-dev
          libsqlite3-dev libsqlitecpp-dev libgtest-dev fonts-dejavu-core
          qt6-svg-dev desktop-file-utils libfftw3-dev)
# The install test validates the software-centre entry with appstreamcli.
packages+=(appstream)
scripts/install-packages.sh "${packages[@]}"

build_dir="${SABRIX_BUILD_DIR:-build}"
# A build folder with files of another user (one made with sudo, or as root) cannot be built
# in, and a build as root would leave files there that its owner cannot replace.
if [ -e "$build_dir" ]; then
  foreign=$(find "$build_dir" ! -user "$(id -u)" -print -quit 2>/dev/null || true)
  if [ -n "$foreign" ]; then
    echo "setup: $foreign belongs to $(stat -c %U "$foreign"), not to $(id -un): remove the build" \
         "folder (sudo rm -rf $build_dir) or name another one with SABRIX_BUILD_DIR" >&2
    exit 1
  fi
fi
echo "setup: building in $build_dir"
cmake -S . -B "$build_dir" -G Ninja "$@" >/dev/null
cmake --build "$build_dir" "${targets[@]}"
