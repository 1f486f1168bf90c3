#!/usr/bin/env bash
# Builds Quorvel and starts its window on the stand-in lanacfg's sample bindings.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target quorvel lanacfg

# The demo keeps its own binding table and report file inside the build folder, so it never
# touches the user's own lanacfg state; delete demo/bindings.txt to start from the sample again.
build_dir="$PWD/build"
mkdir -p "$build_dir/demo"
cd "$build_dir/demo"
export PATH="$build_dir/tools/lanacfg:$PATH"
export LANACFG_STATE="$build_dir/demo/bindings.txt"
exec "$build_dir/app/qt/quorvel" "$@"
