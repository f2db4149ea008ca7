#!/usr/bin/env bash
# Builds the game and runs it on this X display; with no display, plays a short
# demonstration on a virtual one and saves screenshots.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -n "${DISPLAY:-}" ]; then
  bash scripts/deps.sh run
  bash scripts/build_game.sh
  echo "Starting the game on display $DISPLAY …"
  cd build/game
  exec ./quorvel
fi
bash scripts/deps.sh demo
bash scripts/build_game.sh
echo "Starting the demonstration on a virtual display …"
exec python3 scripts/demo.py --game-dir build/game --out out/demo
