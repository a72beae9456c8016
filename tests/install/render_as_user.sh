#!/usr/bin/env bash
# Runs `SABRIX --render STAR --out HOME/plot.png` as a user who owns nothing of the program:
# "nobody" when run as root (HOME is given to it), else the caller; with HOME and PATH alone in
# its environment. Fails unless it ends with 0, says nothing on standard error and writes the
# picture. Prints what it printed, then the user it ran as.
# Usage: render_as_user.sh SABRIX STAR HOME   (STAR and HOME's parents readable by anyone)
set -euo pipefail
sabrix=$1
star=$2
home=$3
fail() { echo "FAILED: $*" >&2; exit 1; }
mkdir -p "$home"
user=$(id -un)
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  user=nobody
  chown nobody "$home"
  as_user=(runuser -u nobody --)
fi
out=$(mktemp)
err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
set +e
"${as_user[@]}" env -i HOME="$home" PATH=/usr/bin:/bin \
  "$sabrix" --render "$star" --out "$home/plot.png" >"$out" 2>"$err"
code=$?
set -e
[ "$code" -eq 0 ] || fail "$sabrix --render as $user ended with $code: $(cat "$err")"
[ ! -s "$err" ] || fail "standard error not empty: $(cat "$err")"
[ -s "$home/plot.png" ] || fail "no picture written"
grep -q "Points)" "$out" || fail "no star label printed: $(cat "$out")"
cat "$out"
echo "ran as $user"
