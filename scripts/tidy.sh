#!/usr/bin/env bash
# Runs clang-tidy (checks in .clang-tidy) over the sources in the given folders, by default
# every folder of the tree; fails when it has anything to say.
# Usage: scripts/tidy.sh [FOLDER...], e.g. scripts/tidy.sh inventory platform
set -euo pipefail
cd "$(dirname "$0")/.."

folders=("$@")
[ ${#folders[@]} -gt 0 ] || folders=(inventory assignment window unattended platform app tools/lanacfg tests bench fuzz)

scripts/install-deps.sh
# Every optional target too, so that the benchmarks and the fuzzers have compile commands.
CC=clang CXX=clang++ cmake -S . -B build-tidy -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DQUORVEL_BENCH=ON -DQUORVEL_FUZZ=ON -DCMAKE_COLOR_DIAGNOSTICS=OFF >/dev/null
# Sources that include their moc output need it generated first.
mapfile -t autogen < <(ninja -C build-tidy -t targets all | grep -o '^[A-Za-z0-9_]*_autogen' | sort -u)
cmake --build build-tidy --target "${autogen[@]}" >/dev/null

pattern="^$PWD/($(IFS='|'; echo "${folders[*]%/}"))/.*\.cpp$"
log=build-tidy/tidy.log
run-clang-tidy -p build-tidy -quiet -j "$(nproc)" "$pattern" 2>/dev/null | tee "$log"
if grep -qE '(warning|error):' "$log"; then
    echo "clang-tidy has findings (above, also in $log)." >&2
    exit 1
fi
echo "clang-tidy: nothing to report."
