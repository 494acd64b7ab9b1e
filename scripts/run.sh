#!/usr/bin/env bash
# Installs what is missing, builds the application and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DFLAG_TESTS=OFF >/dev/null
cmake --build build -j"$(nproc)"
exec build/FlagOfTarnia/bin/FlagOfTarnia
