#!/usr/bin/env bash
# Cross-builds for both ARM targets, runs each one's unit and in-process suite under qemu
# user-mode emulation on the target's own Mesa (software rendering, headless), and checks
# that each target's package declares dependencies the target's Debian can satisfy.
set -euo pipefail
cd "$(dirname "$0")/.."

for arch in armhf arm64; do
  bash scripts/cross_build.sh "$arch"
  # The unit and in-process tests and the emulated program on Xvfb.
  bash scripts/ctest_suite.sh "build-$arch" 33
  rm -f "build-$arch"/quorvel_*.deb
  (cd "build-$arch" && cpack >/dev/null)
  deb=$(echo "$PWD/build-$arch"/quorvel_*.deb)
  # The sysroot's own apt (empty status) resolves the package's whole closure for the target.
  apt-get -c "build-sysroot-$arch/apt/apt.conf" install --simulate -qq "$deb" >/dev/null
  echo "$deb: its dependencies resolve among the $arch packages"
done
