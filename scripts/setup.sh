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
          libsqlite3-dev libsqlitecpp-dev libgtest-dev libbenchmark-dev fonts-dejavu-core
          qt6-svg-dev desktop-file-utils libfftw3-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  as_root=()
  if [ "$(id -u)" -ne 0 ]; then
    # sudo resets the environment: the front end is passed on its command line.
    if command -v sudo >/dev/null && { sudo -n true 2>/dev/null || { [ -t 0 ] && sudo -v; }; }; then
      as_root=(sudo)
    else
      echo "setup: cannot install packages without root or sudo; as root run: apt-get install ${missing[*]}" >&2
      exit 1
    fi
  fi
  echo "Installing: ${missing[*]}"
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
fi

build_dir="${SABRIX_BUILD_DIR:-build}"
cmake -S . -B "$build_dir" -G Ninja "$@" >/dev/null
cmake --build "$build_dir" "${targets[@]}"
