#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer and runs every test;
# any sanitizer report, from a test or from a program a test starts, fails the script.
# clang, not gcc: with gcc the UBSan runtime ignores log_path next to ASan and reports only
# on stderr, where a report from a child process the tests start could go unseen.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
sanitizers="-fsanitize=address,undefined -fno-omit-frame-pointer"
# -O1 keeps the instrumented tests quick; Debug adds only -g on top of it.
CC=clang CXX=clang++ cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS="-O1 $sanitizers" \
    -DCMAKE_EXE_LINKER_FLAGS="$sanitizers" \
    -DCMAKE_SHARED_LINKER_FLAGS="$sanitizers" \
    -DCMAKE_MODULE_LINKER_FLAGS="$sanitizers"
cmake --build build-asan

# Reports go to files rather than stderr: the tests start lanacfg and quorvel themselves and
# do not always read what those print, so a report there would otherwise pass unseen.
reports="$PWD/build-asan/sanitizer-reports"
rm -rf "$reports"
mkdir -p "$reports"
export ASAN_OPTIONS="detect_leaks=1:check_initialization_order=1:log_path=$reports/asan"
export LSAN_OPTIONS="log_path=$reports/lsan"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:log_path=$reports/ubsan"

status=0
ctest --test-dir build-asan --output-on-failure || status=$?

if compgen -G "$reports/*" >/dev/null; then
    for report in "$reports"/*; do
        echo "== $report"
        cat "$report"
    done
    echo "Sanitizer reports were written (above): failing." >&2
    exit 1
fi
exit "$status"
