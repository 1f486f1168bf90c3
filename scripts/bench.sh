#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them; prints figures, never fails on speed.
# Arguments go to Google Benchmark, e.g. scripts/bench.sh --benchmark_filter=refresh
# Then the Windows edition beside its floor program (bench/win32/floor_program.cpp), built for
# both architectures with the same compilers and flags: each program's size, and under wine64,
# in one run, the start of quorvel.com --version beside the floor program's (writing a line, and
# making its window) and of --list beside the bare report command's (medians of 20).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVEL_BENCH=ON
cmake --build build-bench --target quorvel_bench
build-bench/bench/quorvel_bench "$@"

for arch in i686 x86_64; do
    cmake -S . -B "build-windows/$arch" -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel \
        -DCMAKE_TOOLCHAIN_FILE="cmake/toolchains/mingw-$arch.cmake" >/dev/null
    cmake --build "build-windows/$arch" --target quorvel quorvel_console lanacfg floor_program \
        >/dev/null
done

echo
echo "Windows program sizes, bytes, and beside the floor program (a static window with"
echo "CreateProcessW, in C++ with strings and exceptions, the same compilers and flags):"
printf '%-7s %-20s %-20s %-20s %s\n' arch quorvel.exe quorvel.com lanacfg.exe floor
for arch in i686 x86_64; do
    build="build-windows/$arch"
    floor=$(stat -c %s "$build/bench/win32/floor_program.exe")
    line=$(printf '%-7s' "$arch")
    for program in app/win32/quorvel.exe app/win32/quorvel.com tools/lanacfg/lanacfg.exe; do
        size=$(stat -c %s "$build/$program")
        line+=$(printf ' %-20s' "$size ($(awk -v a="$size" -v b="$floor" 'BEGIN { printf "%.2fx", a / b }'))")
    done
    echo "$line $floor"
done

# Start-up under wine64, each run a new process in a wine server that stays up.
. scripts/wine-env.sh
start_wine >/dev/null
build="$PWD/build-windows/x86_64"
work="$PWD/build-windows/bench"
rm -rf "$work" && mkdir -p "$work" && cd "$work"
export WINEPATH="$(windows_path "$build/tools/lanacfg")"
export LANACFG_STATE="$(windows_path "$work/bindings.txt")"
wine64() { "$wine" "$@" </dev/null >/dev/null; }
# Milliseconds that a command takes, from its start to its end.
milliseconds() {
    local start end
    start=$(date +%s%N)
    "$@"
    end=$(date +%s%N)
    echo $(((end - start) / 1000000))
}
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

runs=20
wine64 "$build/app/win32/quorvel.com" --list # the table, and every DLL in the page cache
: >floor-line.ms; : >floor-window.ms; : >version.ms; : >report.ms; : >list.ms
for _ in $(seq $runs); do
    milliseconds wine64 "$build/bench/win32/floor_program.exe" --version >>floor-line.ms
    milliseconds wine64 "$build/bench/win32/floor_program.exe" >>floor-window.ms
    milliseconds wine64 "$build/app/win32/quorvel.com" --version >>version.ms
    milliseconds wine64 cmd /c "lanacfg showlanapaths >lanapaths.txt" >>report.ms
    rm -f lanapaths.txt
    milliseconds wine64 "$build/app/win32/quorvel.com" --list >>list.ms
done
floorLine=$(median <floor-line.ms)
floorWindow=$(median <floor-window.ms)
version=$(median <version.ms)
report=$(median <report.ms)
list=$(median <list.ms)
echo
echo "Start to end under wine64, x86_64, median of $runs runs each, interleaved:"
printf '  %-62s %6s ms\n' "the floor program, a line on standard output" "$floorLine" \
    "the floor program, its window made and gone" "$floorWindow" \
    "quorvel.com --version" "$version" \
    "the bare report command (cmd /c lanacfg showlanapaths >file)" "$report" \
    "quorvel.com --list" "$list"
awk -v v="$version" -v fl="$floorLine" -v fw="$floorWindow" -v l="$list" -v r="$report" 'BEGIN {
    printf "  quorvel.com --version / the floor program, a line:   %.2f\n", v / fl
    printf "  quorvel.com --version / the floor program, window:   %.2f\n", v / fw
    printf "  quorvel.com --list / the bare report command:        %.2f\n", l / r
}'
