#include "inventory/binding_inventory.h"
#include "inventory/lanacfg_contract.h"
#include "inventory/system_interfaces.h"
#include "platform/system_access.h"
#include "refresh_loop.h"
#include "report_text.h"

#include <benchmark/benchmark.h>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel::bench {

namespace {

namespace fs = std::filesystem;

// Stands in for lanacfg by hard-linking a report written once as the report file: one
// system call, so the time measured is the refresh's own reading, deleting and scanning.
class LinkingRunner : public CommandRunner {
public:
    explicit LinkingRunner(fs::path prepared) : prepared_(std::move(prepared)) {}

    CommandOutcome run(const std::string& /*commandLine*/,
                       std::optional<TimeLimit> /*limit*/) override
    {
        fs::create_hard_link(prepared_, std::string(kReportFileName));
        return {};
    }
    ProgramNotFound interpreterNotFound() const override
    {
        return SystemCommandRunner().interpreterNotFound();
    }

private:
    fs::path prepared_;
};

// Runs in the benchmark's scratch directory, which main() makes the working directory.
void refreshWithFakeRunner(benchmark::State& state)
{
    const auto bindings = static_cast<std::size_t>(state.range(0));
    const std::string report = reportText(bindings, kMostBindingsListed);
    const fs::path prepared = "prepared-" + std::to_string(bindings) + ".txt";
    std::ofstream(prepared, std::ios::binary) << report;

    LinkingRunner runner(prepared);
    refreshEachIteration(state, runner);

    const auto lines = static_cast<double>(reportLineCount(bindings));
    state.counters["lines"] = lines;
    state.counters["lines/s"] =
        benchmark::Counter(lines, benchmark::Counter::kIsIterationInvariantRate);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(report.size()));
    fs::remove(prepared);
}

// 10 bindings: the ten-adapter report; 49,999 bindings: a 100,000-line report.
BENCHMARK(refreshWithFakeRunner)
    ->ArgName("bindings")
    ->Arg(kMostBindingsListed)
    ->Arg(49'999)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

// The floor of a refresh: the same report's bytes, already in memory, cut into lines by a
// plain loop that notes where each line starts and how long it is.
void refreshFloorPlainLineSplit(benchmark::State& state)
{
    const std::string report =
        reportText(static_cast<std::size_t>(state.range(0)), kMostBindingsListed);
    std::vector<std::string_view> lines;
    for (auto _ : state) {
        lines.clear();
        std::size_t begin = 0;
        for (std::size_t i = 0; i < report.size(); ++i) {
            if (report[i] == '\n') {
                lines.emplace_back(report.data() + begin, i - begin);
                begin = i + 1;
            }
        }
        benchmark::DoNotOptimize(lines.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(report.size()));
}
BENCHMARK(refreshFloorPlainLineSplit)
    ->ArgName("bindings")
    ->Arg(kMostBindingsListed)
    ->Arg(49'999)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

} // namespace

} // namespace quorvel::bench
