#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them; prints figures, never fails on speed.
# Arguments go to Google Benchmark, e.g. scripts/bench.sh --benchmark_filter=refresh
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVEL_BENCH=ON
cmake --build build-bench --target quorvel_bench
exec build-bench/bench/quorvel_bench "$@"
