#!/usr/bin/env bash
# Builds both editions and runs every test, headless: the Qt edition here, then the Windows
# edition under wine (scripts/test-windows.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
ctest --test-dir build --output-on-failure
scripts/test-windows.sh
