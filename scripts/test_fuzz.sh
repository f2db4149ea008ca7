#!/usr/bin/env bash
# Builds the fuzz targets with clang, ASan and UBSan in build-fuzz/ and fuzzes each file
# reader for a bounded time (30 s each, or the seconds given as the first argument),
# starting from its committed seeds and the shipped data files. A crash fails the run and
# leaves its input in build-fuzz/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}

CC=clang CXX=clang++ cmake -S . -B build-fuzz -DQUORVEL_WERROR=ON -DQUORVEL_SANITIZE=ON \
  -DQUORVEL_FUZZ=ON -DQUORVEL_TESTS=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)"

root=$PWD
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

# The targets read their inputs by bare name from a scratch folder, in memory where the system
# offers it (a file written to disk per input is slow), beside the glyph strip that fuzzed
# font descriptions name (s.bmp) and the description that names the fuzzed strip (g.fnt).
scratch=$(mktemp -d /dev/shm/quorvel_fuzz.XXXXXX 2>/dev/null || mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cp tests/fuzz/corpus/glyph_strip/strip56_24bit.bmp "$scratch/s.bmp"
printf 'fuzz -1 94 g.bmp\n' >"$scratch/g.fnt"

# fuzz TARGET SHIPPED_FILE...: the working corpus keeps what earlier runs found.
fuzz() {
  local target=$1
  shift
  local corpus=$root/build-fuzz/corpus/$target artifacts=$root/build-fuzz/artifacts
  mkdir -p "$corpus" "$artifacts"
  cp "$root"/tests/fuzz/corpus/"$target"/* "$@" "$corpus"/
  echo "Fuzzing $target for $seconds s"
  # Every path given is absolute; the readers' messages on standard output are silenced.
  (cd "$scratch" && "$root/build-fuzz/tests/fuzz/fuzz_$target" "$corpus" -max_total_time="$seconds" \
    -timeout=10 -rss_limit_mb=2048 -close_fd_mask=1 \
    -artifact_prefix="$artifacts/$target-" </dev/null 2>"$root/build-fuzz/$target.log") || {
    tail -n 60 "$root/build-fuzz/$target.log"
    return 1
  }
  grep '^Done' "$root/build-fuzz/$target.log"
}

fuzz layout data/*.layout
fuzz hiscore
fuzz font_description data/*.fnt
fuzz glyph_strip data/small_font.bmp
