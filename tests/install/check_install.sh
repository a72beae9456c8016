#!/usr/bin/env bash
# Installs the build, stripped, into a temporary prefix (with a blank in its name), checks what
# was installed, its desktop entry and its software-centre entry, then runs the installed
# `sabrix --render` as a user who cannot write to the prefix: as "nobody" when run as root,
# else as the caller with the prefix made read-only.
# Usage: check_install.sh BUILD_DIR SAMPLE_STAR_FILE
set -euo pipefail
build=$1
sample=$2
fail() { echo "FAILED: $*" >&2; exit 1; }

work=$(mktemp -d)
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
chmod 755 "$work"
prefix="$work/prefix with blank"
# Installed by its component, the test keeps its list of files in a manifest of its own:
# build/install_manifest.txt stays the record of the user's own install.
[ -e "$build/install_manifest.txt" ] && manifest_before=$(sha256sum <"$build/install_manifest.txt")
cmake --install "$build" --prefix "$prefix" --component Unspecified --strip >/dev/null
# The manifest names every file installed, so that removing what it lists removes the install.
unlisted=$(find "$prefix" -type f | sort | comm -23 - <(sort "$build/install_manifest_Unspecified.txt"))
installed=$(cat "$build/install_manifest_Unspecified.txt")
rm -f "$build/install_manifest_Unspecified.txt"
[ -z "$unlisted" ] || fail "installed but not in the install manifest: $unlisted"
[ "${manifest_before:-}" = "$([ -e "$build/install_manifest.txt" ] && sha256sum <"$build/install_manifest.txt")" ] ||
  fail "the install test changed $build/install_manifest.txt"

app_id=$(sed -n 's/^SABRIX_APP_ID:STRING=//p' "$build/CMakeCache.txt")
for f in bin/sabrix share/sabrix/Template97.db share/sabrix/Documentation/Documentation.html \
         share/sabrix/Documentation/images/window.png share/man/man1/sabrix.1.gz \
         "share/metainfo/$app_id.metainfo.xml" \
         share/applications/sabrix.desktop share/icons/hicolor/scalable/apps/sabrix.svg \
         share/icons/hicolor/16x16/apps/sabrix.png share/icons/hicolor/256x256/apps/sabrix.png; do
  [ -f "$prefix/$f" ] || fail "$f was not installed"
done
if command -v readelf >/dev/null && readelf -S "$prefix/bin/sabrix" | grep -q '\.debug_info'; then
  fail "bin/sabrix was installed with its debugging information (--strip)"
fi
grep -qx 'License: GPL-3+' "$prefix/share/doc/sabrix/copyright" || fail "the copyright names no licence"
command -v desktop-file-validate >/dev/null || fail "desktop-file-validate is missing (package desktop-file-utils)"
desktop-file-validate "$prefix/share/applications/sabrix.desktop" || fail "desktop entry not valid"
grep -qx 'MimeType=text/csv;text/plain;' "$prefix/share/applications/sabrix.desktop" ||
  fail "the desktop entry names no file types"
command -v appstreamcli >/dev/null || fail "appstreamcli is missing (package appstream)"
appstreamcli validate --no-net --strict "$prefix/share/metainfo/$app_id.metainfo.xml" >"$work/as.txt" 2>&1 ||
  fail "software-centre entry not valid: $(cat "$work/as.txt")"
zcat "$prefix/share/man/man1/sabrix.1.gz" | grep -qF ".I $prefix/share/sabrix/Template97.db" ||
  fail "the manual page does not name the installed template"
grep -qxF "Exec=\"$prefix/bin/sabrix\" %f" "$prefix/share/applications/sabrix.desktop" ||
  fail "Exec does not start $prefix/bin/sabrix: $(grep ^Exec= "$prefix/share/applications/sabrix.desktop")"

home="$work/home"
cp "$sample" "$work/star.txt"
chmod 644 "$work/star.txt"
chmod -R a-w "$prefix"
bash "$(dirname "$0")/render_as_user.sh" "$prefix/bin/sabrix" "$work/star.txt" "$home"
[ -d "$home/.local/state/sabrix/files" ] || fail "the per-user folder was not made"
[ ! -e "$prefix/bin/files" ] || fail "the program wrote into its bin folder"

# Removing what the manifest lists removes the program: no file is left in the prefix, and of
# the home only the working folder that the README names.
chmod -R u+w "$prefix"
while IFS= read -r f; do rm -f "$f"; done <<<"$installed"
left=$(find "$prefix" -type f)
[ -z "$left" ] || fail "left in the prefix after removing the install: $left"
left=$(cd "$home" && find . -iname '*sabrix*' -not -path './.local/state/sabrix' \
         -not -path './.local/state/sabrix/*')
[ -z "$left" ] || fail "left in the home besides .local/state/sabrix: $left"
