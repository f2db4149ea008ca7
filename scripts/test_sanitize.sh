#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer in build-asan/ and
# runs there the unit and in-process tests and the memory check of the real program at exit
# (played on Xvfb); the first report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake -S . -B build-asan -DQUORVEL_TESTS=ON -DQUORVEL_WERROR=ON -DQUORVEL_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$(nproc)"

export ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Thread-local storage is not scanned for pointers: LeakSanitizer's tracer crashes on the
# dynamic TLS that the GL driver's libraries leave, in some tests' processes every time. A
# block only TLS points to is then reported, so glibc's own are suppressed.
export LSAN_OPTIONS=use_tls=0:suppressions=$PWD/tests/sanitizers/lsan.supp
# The unit and in-process tests and the memory check at exit.
if ! bash scripts/ctest_suite.sh build-asan 33 -LE e2e; then
  # LeakSanitizer's own tracer can still crash while it stops the renderer's threads at exit
  # on a loaded machine; only then are the failed tests run once more.
  grep -q "LeakSanitizer has encountered a fatal error" build-asan/ctest-suite.log || exit 1
  ctest --test-dir build-asan --output-on-failure --no-tests=error --rerun-failed
fi
