#!/usr/bin/env bash
# Sets up and builds Sabrix (the program and its user guide, not the tests), then starts it.
# Arguments are passed on to the program; file names in them are taken from the folder the
# script is started in.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh" --run-only
build_dir="${SABRIX_BUILD_DIR:-build}"
case "$build_dir" in /*) ;; *) build_dir="$root/$build_dir" ;; esac
exec "$build_dir/sabrix" "$@"
