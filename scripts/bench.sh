#!/usr/bin/env bash
# Builds the benchmark beside the game (in build-bench/) and prints its table: start-up
# against a floor program, each screen's frame cost against a bare replay of its GL calls,
# the CPU time of the game and the X server on each screen left alone (and of the arm64 build
# on the main menu under emulation, cross-built in build-arm64/), peak memory, font loading
# and dealing; then the web page's (bench/web_bench.py): its size, its first frame in
# headless Chromium and its still menu's CPU time. Takes a few minutes, more the first time;
# see docs/PERFORMANCE.md.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh demo
cmake -S . -B build-bench -DQUORVEL_BENCH=ON -DQUORVEL_DRAW_EVERY_FRAME=ON -DQUORVEL_TESTS=OFF >/dev/null
cmake --build build-bench -j"$(nproc)" >/dev/null
bash scripts/cross_build.sh arm64 >/dev/null
python3 bench/run_bench.py --build-dir build-bench --arm64-dir build-arm64 \
  --sysroot "$PWD/build-sysroot-arm64/root" "$@"
echo
bash scripts/deps.sh web chromium chromium-driver python3-selenium
bash scripts/build_web.sh >/dev/null
# Debian's Python, which has Selenium, whatever python3 comes first on PATH.
exec /usr/bin/python3 bench/web_bench.py --site-dir build-web/site
