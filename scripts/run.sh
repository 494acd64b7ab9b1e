#!/usr/bin/env bash
# Installs what is missing, builds the application and starts it. Its build folder is its
# own, so switching between this and the test command rebuilds nothing.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh run
cmake -S . -B build-run -DCMAKE_BUILD_TYPE=Release -DFLAG_TESTS=OFF >/dev/null
cmake --build build-run -j"$(nproc)"
exec build-run/FlagOfTarnia/bin/FlagOfTarnia
