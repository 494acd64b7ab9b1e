#!/usr/bin/env bash
# Installs what is missing, then builds and runs the whole test suite twice: as it ships,
# and under AddressSanitizer and UndefinedBehaviorSanitizer. Needs no display: the desktop
# tests start X servers of their own. Each build has a folder of its own, and a run that
# finds no test fails.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh test
jobs=$(nproc)

# The benchmarks are built too, so they keep up with the code they time.
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFLAG_TESTS=ON -DFLAG_BENCH=ON >/dev/null
cmake --build build-test -j"$jobs"
ctest --test-dir build-test -j"$jobs" --output-on-failure --no-tests=error

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DFLAG_SANITIZE=ON -DFLAG_TESTS=ON >/dev/null
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-asan -j"$jobs" --output-on-failure --no-tests=error

# The design-record reader under libFuzzer for about 30 seconds, from the seeds kept in
# tests/fuzz/corpus; what it learns stays in build-fuzz/, and a finding stops the run.
cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++-16 -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFLAG_FUZZ=ON -DFLAG_TESTS=OFF >/dev/null
# The application's code is built there too, so all of it stays warning-free under clang.
cmake --build build-fuzz -j"$jobs" --target DesignRecordFuzz flagapp
mkdir -p build-fuzz/corpus build-fuzz/findings
# clang's sanitizers find no symbolizer by its plain name, so a finding's stack would show bare
# addresses without the path.
ASAN_SYMBOLIZER_PATH=$(command -v llvm-symbolizer) ASAN_OPTIONS=halt_on_error=1 \
LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    build-fuzz/tests/fuzz/DesignRecordFuzz -max_total_time=30 -print_final_stats=1 \
        -artifact_prefix=build-fuzz/findings/ build-fuzz/corpus tests/fuzz/corpus
