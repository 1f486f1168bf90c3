#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each one for SECONDS (default 60);
# a crash, leak, timeout or sanitizer report in any of them fails the script.
# Usage: scripts/fuzz.sh [SECONDS [LIBFUZZER_FLAG...]], e.g. scripts/fuzz.sh 0 -runs=10000000
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
shift || true

scripts/install-deps.sh
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQUORVEL_FUZZ=ON
cmake --build build-fuzz --target fuzz_report fuzz_command_line

export UBSAN_OPTIONS=print_stacktrace=1
failed=()
for target in report command_line; do
    # New inputs go to the build's own corpus; the seeds in fuzz/corpus stay as committed.
    corpus="build-fuzz/corpus/$target"
    artifacts="$PWD/build-fuzz/artifacts/$target/"
    mkdir -p "$corpus" "$artifacts"
    echo "== fuzz_$target for ${seconds} s"
    if ! "build-fuzz/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=25 \
        -print_final_stats=1 -dict="fuzz/$target.dict" -artifact_prefix="$artifacts" "$@" "$corpus" "fuzz/corpus/$target"; then
        failed+=("fuzz_$target")
        ls -l "$artifacts"
    fi
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "Fuzzing found problems in: ${failed[*]} (inputs in build-fuzz/artifacts/)" >&2
    exit 1
fi
echo "Fuzzing found nothing."
