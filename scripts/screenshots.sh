#!/usr/bin/env bash
# Remakes the pictures of the six screens in docs/screens/ by playing a round on a virtual
# display (the same demonstration the run command gives without a display).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh demo
bash scripts/build_game.sh
env -u DISPLAY python3 scripts/demo.py --game-dir build/game --out docs/screens
