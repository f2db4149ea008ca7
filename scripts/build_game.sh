#!/usr/bin/env bash
# Builds the program into build/, saying so, and on failure shows the compiler's error. Shared by the run command and scripts/screenshots.sh.
set -euo pipefail
cd "$(dirname "$0")/.."

# A player's build needs no tests; a folder the test command configured keeps its own.
configure=()
[ -f build/CMakeCache.txt ] || configure=(-DQUORVEL_TESTS=OFF)
first=""
[ -x build/game/quorvel ] || first=" (first time: about a minute)"
echo "Building the game$first …"
mkdir -p build
log=build/build-game.log
if ! { cmake -S . -B build "${configure[@]}" &&
  cmake --build build -j"$(nproc)" --target quorvel; } >"$log" 2>&1; then
  # The compiler's own words, not just make's exit status.
  errors=$(grep -E -A4 ': (fatal )?error|CMake Error' "$log" | head -n 40 || true)
  if [ -n "$errors" ]; then echo "$errors"; else tail -n 40 "$log"; fi
  echo "ERROR: the build failed; its whole output is in $log"
  exit 1
fi
