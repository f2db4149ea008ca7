#!/usr/bin/env bash
# Builds the game and runs it on this X display; with no display, plays a short
# demonstration on a virtual one and saves screenshots. With --web, builds the game as a web
# page and serves it on 127.0.0.1 (port QUORVEL_WEB_PORT, 8000 by default).
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" = --web ]; then
  bash scripts/deps.sh web
  bash scripts/build_web.sh
  port=${QUORVEL_WEB_PORT:-8000}
  echo "Serving the game at http://127.0.0.1:$port/ (Ctrl+C stops it)"
  exec /usr/bin/python3 -m http.server "$port" --bind 127.0.0.1 --directory build-web/site
fi

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
