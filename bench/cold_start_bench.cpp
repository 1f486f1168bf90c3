#include "child_process.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace quorvel::bench {

namespace {

namespace fs = std::filesystem;

// Each start is a new process on the offscreen platform with the hook preloaded, which
// ends it once its window has painted; "shown" is the time from the spawn to that paint.
void startUntilShown(benchmark::State& state, const std::string& program,
                     const std::vector<std::string>& programEnv)
{
    const fs::path shownFile = fs::absolute("shown-at.txt");
    std::vector<std::string> env = programEnv;
    env.emplace_back("QT_QPA_PLATFORM=offscreen");
    env.emplace_back(std::string("LD_PRELOAD=") + FIRST_PAINT_HOOK_PATH);
    env.emplace_back("QUORVEL_BENCH_SHOWN_FILE=" + shownFile.string());
    // Without it every start warns on stderr and picks a folder under /tmp by itself.
    const fs::path runtimeDir = fs::absolute("xdg-runtime");
    fs::create_directories(runtimeDir);
    fs::permissions(runtimeDir, fs::perms::owner_all, fs::perm_options::replace);
    env.emplace_back("XDG_RUNTIME_DIR=" + runtimeDir.string());

    double toExitSeconds = 0;
    double peakRssBytes = 0;
    for (auto _ : state) {
        fs::remove(shownFile);
        const ChildRun run = runChild(program, env);
        std::int64_t shownNs = 0;
        if (!(std::ifstream(shownFile) >> shownNs) || run.exitStatus != 0) {
            state.SkipWithError(("no window was shown with its lists filled: exit status " +
                                 std::to_string(run.exitStatus))
                                    .c_str());
            break;
        }
        const auto shown = std::chrono::steady_clock::time_point(std::chrono::nanoseconds(shownNs));
        state.SetIterationTime(std::chrono::duration<double>(shown - run.started).count());
        toExitSeconds += std::chrono::duration<double>(run.ended - run.started).count();
        peakRssBytes += static_cast<double>(run.peakRssKiB) * 1024;
    }
    state.counters["exit_ms"] =
        benchmark::Counter(toExitSeconds * 1000, benchmark::Counter::kAvgIterations);
    state.counters["peak_rss"] = benchmark::Counter(
        peakRssBytes, benchmark::Counter::kAvgIterations, benchmark::Counter::OneK::kIs1024);
}

void coldStartQuorvel(benchmark::State& state)
{
    // Its first refresh runs the stand-in lanacfg on the state file that main() prepared.
    startUntilShown(state, QUORVEL_PATH, {"QUORVEL_BENCH_FILLED_LISTS=lstLANA lstCard"});
}
BENCHMARK(coldStartQuorvel)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->MinTime(1)
    ->Repetitions(5);

void coldStartMinimalWindow(benchmark::State& state)
{
    startUntilShown(state, MINIMAL_WINDOW_PATH, {});
}
BENCHMARK(coldStartMinimalWindow)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->MinTime(1)
    ->Repetitions(5);

// The same window with one line of text: tells the cost of fonts from quorvel's own.
void coldStartMinimalTextWindow(benchmark::State& state)
{
    startUntilShown(state, MINIMAL_WINDOW_PATH, {"MINIMAL_WINDOW_LABEL=Network Card"});
}
BENCHMARK(coldStartMinimalTextWindow)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->MinTime(1)
    ->Repetitions(5);

} // namespace

} // namespace quorvel::bench
