#!/usr/bin/env bash
# Builds the Debian package of a build folder and tries it on this machine as a user would:
# its control fields and contents, lintian, `apt-get install ./sabrix_*.deb`, the installed
# program run by an unprivileged user, and `apt-get remove`, which must leave nothing of it
# under /usr. Changes the machine's installed packages: for CI and for trying it by hand as
# root (or with sudo for apt-get), not for the quick test.
# Usage: check_package.sh BUILD_DIR SAMPLE_STAR_FILE
set -euo pipefail
build=$(cd "$1" && pwd)
sample=$2
fail() { echo "FAILED: $*" >&2; exit 1; }
if [ "$(id -u)" -eq 0 ]; then
  apt_get() { env DEBIAN_FRONTEND=noninteractive apt-get "$@"; }
else
  apt_get() { sudo apt-get "$@"; }
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"

"$(dirname "$0")/../../scripts/install-packages.sh" lintian

echo "-- Building the package"
rm -f "$build"/sabrix_*.deb
cmake --build "$build" --target package >/dev/null
debs=("$build"/sabrix_*_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "no single sabrix_VERSION_ARCH.deb in $build"
deb=${debs[0]}
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ "$(basename "$deb")" = "sabrix_${version}_$(dpkg --print-architecture).deb" ] ||
  fail "package named $(basename "$deb")"

echo "-- dpkg-deb --info and --contents"
dpkg-deb --info "$deb"
field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = sabrix ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[[ "$(field Maintainer)" == *"<"*"@"*">" ]] || fail "Maintainer: $(field Maintainer)"
[ -n "$(field Description)" ] || fail "no Description"
# Found by dpkg-shlibdeps in the executable, with the versions it needs.
for library in libqt6widgets6 libqt6network6 libqt6svg6 libsqlite3-0 libc6; do
  [[ "$(field Depends)" == *"$library ("* ]] || fail "Depends lacks $library: $(field Depends)"
done
contents=$(dpkg-deb --contents "$deb")
echo "$contents" | awk '{print $6}'
files=$(echo "$contents" | awk '$1 !~ /^d/ {print substr($6, 2)}')
for f in /usr/bin/sabrix /usr/share/sabrix/Template97.db /usr/share/man/man1/sabrix.1.gz \
         /usr/share/applications/sabrix.desktop /usr/share/doc/sabrix/copyright \
         /usr/share/doc/sabrix/changelog.gz /usr/share/icons/hicolor/scalable/apps/sabrix.svg \
         /usr/share/sabrix/Documentation/Documentation.html; do
  grep -qxF "$f" <<<"$files" || fail "$f is not in the package"
done
grep -q '^/usr/share/metainfo/.*\.metainfo\.xml$' <<<"$files" || fail "no metainfo file"
outside=$(grep -v '^/usr/' <<<"$files" || true)
[ -z "$outside" ] || fail "files outside /usr: $outside"

echo "-- lintian"
# Errors fail; warnings and notes are shown.
set +e
lintian --fail-on error --display-info "$deb" >"$work/lintian.txt" 2>&1
lintian_code=$?
set -e
grep -v '^running with root privileges' "$work/lintian.txt" || true
[ "$lintian_code" -eq 0 ] || fail "lintian found errors"

echo "-- apt-get install ./$(basename "$deb")"
if dpkg-query -W -f='${Status}' sabrix 2>/dev/null | grep -q "install ok installed"; then
  apt_get remove -y -qq sabrix >/dev/null
fi
(cd "$build" && apt_get install -y "./$(basename "$deb")")
dpkg-query -W -f='${Status}\n' sabrix | grep -q "install ok installed" || fail "sabrix is not installed"
desktop-file-validate /usr/share/applications/sabrix.desktop || fail "installed desktop entry"
# Unquoted, so that every opener of the desktop (xdg-open too) can start it.
grep -qx 'Exec=/usr/bin/sabrix %f' /usr/share/applications/sabrix.desktop ||
  fail "desktop entry starts $(grep ^Exec= /usr/share/applications/sabrix.desktop)"

echo "-- /usr/bin/sabrix --render as an unprivileged user"
cp "$sample" "$work/star.txt"
chmod 644 "$work/star.txt"
bash "$(dirname "$0")/../install/render_as_user.sh" /usr/bin/sabrix "$work/star.txt" "$work/home"

echo "-- apt-get remove sabrix"
apt_get remove -y sabrix
! dpkg-query -W -f='${Status}' sabrix 2>/dev/null | grep -q "install ok installed" ||
  fail "sabrix is still installed"
left=""
while read -r f; do
  [ -e "$f" ] && left+=" $f"
done <<<"$files"
left+=$(find /usr -path '*sabrix*' -printf ' %p' 2>/dev/null || true)
[ -z "$left" ] || fail "left under /usr after apt-get remove:$left"
echo "package built, installed, run and removed: $(basename "$deb")"
