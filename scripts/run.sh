#!/usr/bin/env bash
# Builds the game and runs it on this X display; with no display, plays a short
# demonstration on a virtual one and saves screenshots.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh
cmake -S . -B build >/dev/null
cmake --build build -j"$(nproc)" >/dev/null

if [ -n "${DISPLAY:-}" ]; then
  cd build/game
  exec ./quorvel
fi
exec python3 scripts/demo.py --game-dir build/game --tools-dir build/tests --out out/demo
