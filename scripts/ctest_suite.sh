#!/usr/bin/env bash
# Runs a build folder's tests and fails unless every one passed and there were at least as
# many as its suite holds: a folder configured without its tests must not pass as green.
# Usage: bash scripts/ctest_suite.sh BUILD_DIR MIN_TESTS [CTEST ARGUMENT...]
set -euo pipefail
dir=$1 min=$2
shift 2

log=$dir/ctest-suite.log
status=0
ctest --test-dir "$dir" --output-on-failure --no-tests=error -j"$(nproc)" "$@" 2>&1 | tee "$log" ||
  status=$?
ran=$(sed -n 's/.*tests* failed out of \([0-9][0-9]*\)$/\1/p' "$log" | tail -n 1)
if [ "${ran:-0}" -lt "$min" ]; then
  echo "ERROR: $dir ran ${ran:-no} tests, but its suite holds at least $min"
  exit 1
fi
exit "$status"
