#!/usr/bin/env bash
# Runs one fuzz target from its seed corpus with its dictionary.
# Usage: fuzz/run.sh BUILD_DIR TARGET [libFuzzer options, e.g. -max_total_time=60 or -runs=1000000]
# The corpus grows in BUILD_DIR/fuzz-corpus/TARGET; the seeds come from tests/samples/ (the
# star-file and three-column targets, and the CSV splitter, one sample line per seed) and from
# fuzz/seeds/ (the settings file). A crash, a sanitizer report, a timeout or a leak ends the run
# with a non-zero status and leaves the input in BUILD_DIR/fuzz-findings/.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
samples="$here/../tests/samples"
build="$(cd "$1" && pwd)"
target="$2"
shift 2

corpus="$build/fuzz-corpus/$target"
findings="$build/fuzz-findings"
mkdir -p "$corpus" "$findings"

# Pieces of the samples: small enough for the fuzzer's length limit, many enough to start
# from every kind of line.
seed_pieces() {  # FILE LINES_PER_PIECE PREFIX [MOST_PIECES]
  local file="$1" lines="$2" prefix="$3" most="${4:-200}"
  head -n $((lines * most)) "$file" | split -l "$lines" -a 4 - "$corpus/$prefix-"
}

if [ -z "$(ls -A "$corpus")" ]; then
  case "$target" in
    fuzz_star_file)
      seed_pieces "$samples/download-ccd.txt" 12 ccd
      seed_pieces "$samples/download-mixed.txt" 12 mixed 60
      dict=star_file.dict ;;
    fuzz_three_column)
      seed_pieces "$samples/three-column.dat" 20 survey
      dict=three_column.dict ;;
    fuzz_csv_line)
      seed_pieces "$samples/download-ccd.txt" 1 ccd 60
      seed_pieces "$samples/download-mixed.txt" 1 mixed 60
      for f in "$corpus"/*; do tr -d '\r\n' < "$f" > "$f.line" && mv "$f.line" "$f"; done ;;
    fuzz_settings)
      cp "$here"/seeds/settings/* "$corpus"/ ;;
    *) echo "unknown target $target" >&2; exit 2 ;;
  esac
fi
case "$target" in
  fuzz_star_file) dict=star_file.dict ;;
  fuzz_three_column) dict=three_column.dict ;;
  fuzz_csv_line) dict=csv_line.dict ;;
  fuzz_settings) dict=settings.dict ;;
esac

export QT_QPA_PLATFORM=offscreen
# The targets keep one table across runs on purpose, so the leak check after each input would
# report that memory and cost more than the run itself; LeakSanitizer still checks at exit.
exec "$build/fuzz/$target" "$corpus" -dict="$here/$dict" -max_len=4096 -timeout=10 \
  -rss_limit_mb=2048 -detect_leaks=0 -print_final_stats=1 \
  -artifact_prefix="$findings/$target-" "$@"
