#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh test
# Tests on, whatever configured build/ before (the run command builds it without them).
cmake -S . -B build -DQUORVEL_TESTS=ON -DQUORVEL_WERROR=ON >/dev/null
cmake --build build -j"$(nproc)"
# The unit and in-process tests, the end-to-end play, the package and the soak.
bash scripts/ctest_suite.sh build 36
bash scripts/test_sanitize.sh
bash scripts/test_fuzz.sh
bash scripts/test_tidy.sh
bash scripts/test_arm.sh
bash scripts/test_web.sh
