#include "inventory/binding_inventory.h"
#include "inventory/system_interfaces.h"
#include "inventory/lanacfg_contract.h"
#include "platform/system_access.h"
#include "refresh_loop.h"
#include "report_text.h"

#include <benchmark/benchmark.h>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <string>

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

private:
    fs::path prepared_;
};

// Runs in the benchmark's scratch directory, which main() makes the working directory.
void refreshWithFakeRunner(benchmark::State& state)
{
    const auto bindings = static_cast<std::size_t>(state.range(0));
    const std::string report = reportText(bindings, BindingInventory::MAX_SCAN_PASSES);
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
    ->Arg(BindingInventory::MAX_SCAN_PASSES)
    ->Arg(49'999)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

} // namespace

} // namespace quorvel::bench
