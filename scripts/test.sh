#!/usr/bin/env bash
# Installs what is missing, then builds and runs the whole test suite twice: as it ships,
# and under AddressSanitizer and UndefinedBehaviorSanitizer. Needs no display: the desktop
# tests start X servers of their own. Each build has a folder of its own, and a run that
# finds no test fails.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
jobs=$(nproc)

cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFLAG_TESTS=ON >/dev/null
cmake --build build-test -j"$jobs"
ctest --test-dir build-test -j"$jobs" --output-on-failure --no-tests=error

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DFLAG_SANITIZE=ON -DFLAG_TESTS=ON >/dev/null
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-asan -j"$jobs" --output-on-failure --no-tests=error
