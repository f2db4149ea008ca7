#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh test
cmake -S . -B build -DQUORVEL_WERROR=ON >/dev/null
cmake --build build -j"$(nproc)"
ctest --test-dir build --output-on-failure -j"$(nproc)"
bash scripts/test_sanitize.sh
bash scripts/test_fuzz.sh
bash scripts/test_tidy.sh
bash scripts/test_arm.sh
