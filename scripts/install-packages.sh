#!/usr/bin/env bash
# Installs those of the Debian packages named that are missing, as root or through sudo, and
# shows the progress of the downloads and the unpacking. The one way the scripts and CI install
# packages.
# Usage: scripts/install-packages.sh PACKAGE...
set -euo pipefail

missing=()
for p in "$@"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

cannot() {
  echo "$(basename "$0"): cannot install packages without root or sudo; as root run: apt-get install ${missing[*]}" >&2
  exit 1
}
# sudo resets the environment, so the non-interactive front end is passed through env where
# sudo allows env. A user whom sudo allows apt-get alone runs it bare: apt-get -y asks nothing
# then, and debconf asks at the terminal if at all. sudo -n never waits for a password nobody
# types (CI); at a terminal, sudo -v asks for it once beforehand.
sudo_apt() {
  if sudo -n -l env >/dev/null 2>&1; then
    apt=(sudo -n env DEBIAN_FRONTEND=noninteractive apt-get)
  elif sudo -n -l apt-get >/dev/null 2>&1; then
    apt=(sudo -n apt-get)
  else
    return 1
  fi
}
if [ "$(id -u)" -eq 0 ]; then
  apt=(env DEBIAN_FRONTEND=noninteractive apt-get)
elif ! command -v sudo >/dev/null; then
  cannot
elif ! sudo_apt; then
  { [ -t 0 ] && sudo -v && sudo_apt; } || cannot
fi

echo "Installing ${#missing[@]} Debian packages and what they need: ${missing[*]}"
progress=0
[ -t 1 ] && progress=1
"${apt[@]}" update -q
"${apt[@]}" -o Dpkg::Progress-Fancy=$progress install -y "${missing[@]}"
