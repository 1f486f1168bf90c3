#include "refresh_loop.h"

#include "inventory/binding_inventory.h"
#include "platform/system_access.h"

namespace quorvel::bench {

void refreshEachIteration(benchmark::State& state, CommandRunner& runner)
{
    SystemReportFiles files;
    std::size_t listed = 0;
    for (auto _ : state) {
        listed = bindingsFromReportCommand(runner, files).size();
        benchmark::DoNotOptimize(listed);
    }
    if (listed != kMostBindingsListed)
        state.SkipWithError("the refresh did not list ten NetBEUI adapters");
}

} // namespace quorvel::bench
