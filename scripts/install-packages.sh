#!/usr/bin/env bash
# Installs those of the Debian packages named that are missing, as root or through sudo, with
# the non-interactive front end. The one way the scripts and CI install packages.
# Usage: scripts/install-packages.sh PACKAGE...
set -euo pipefail

missing=()
for p in "$@"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
if [ "$(id -u)" -ne 0 ]; then
  # sudo -n never waits for a password nobody types (CI); at a terminal, sudo -v asks once
  # beforehand.
  if command -v sudo >/dev/null && { sudo -n true 2>/dev/null || { [ -t 0 ] && sudo -v; }; }; then
    as_root=(sudo -n)
  else
    echo "$(basename "$0"): cannot install packages without root or sudo; as root run: apt-get install ${missing[*]}" >&2
    exit 1
  fi
fi
echo "Installing: ${missing[*]}"
# sudo resets the environment: the front end is passed on the command line, through env.
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
