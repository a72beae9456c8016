#!/usr/bin/env bash
# Sets up and builds Sabrix, then starts it. Arguments are passed on to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
exec build/sabrix "$@"
