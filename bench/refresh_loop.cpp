#include "refresh_loop.h"

#include "inventory/binding_inventory.h"
#include "platform/system_access.h"

namespace quorvel::bench {

void refreshEachIteration(benchmark::State& state, CommandRunner& runner)
{
    SystemReportFiles files;
    BindingInventory inventory;
    for (auto _ : state)
        benchmark::DoNotOptimize(inventory.GetLANAInfo(runner, files).size());
    if (inventory.bindings().size() != static_cast<std::size_t>(BindingInventory::MAX_SCAN_PASSES))
        state.SkipWithError("the refresh did not list ten NetBEUI adapters");
}

} // namespace quorvel::bench
