#!/usr/bin/env bash
# Cross-builds for both ARM targets and runs each one's unit and in-process suite under qemu
# user-mode emulation, on the target's own Mesa (software rendering, headless).
set -euo pipefail
cd "$(dirname "$0")/.."

for arch in armhf arm64; do
  bash scripts/cross_build.sh "$arch"
  ctest --test-dir "build-$arch" --output-on-failure -j"$(nproc)"
done
