#!/usr/bin/env bash
# Cross-builds the game and its unit tests for the ARM device into build-ARCH/, against a
# sysroot of the target's Debian packages. Usage: bash scripts/cross_build.sh armhf|arm64
set -euo pipefail
cd "$(dirname "$0")/.."

arch=${1:?usage: cross_build.sh armhf|arm64}
bash scripts/deps.sh test "crossbuild-essential-$arch" qemu-user-static
bash scripts/sysroot.sh "$arch"
cmake -S . -B "build-$arch" -DCMAKE_TOOLCHAIN_FILE="cmake/toolchain-$arch.cmake" -DQUORVEL_TESTS=ON -DQUORVEL_WERROR=ON >/dev/null
cmake --build "build-$arch" -j"$(nproc)"
