#include "refresh_loop.h"

#include "inventory/binding_inventory.h"
#include "inventory/plain_adapter_list.h"
#include "platform/posix/posix_report_files.h"

namespace quorvel::bench {

void refreshEachIteration(benchmark::State& state, CommandRunner& runner)
{
    PosixReportFiles files;
    PlainAdapterList lstLANA;
    PlainAdapterList lstCard;
    BindingInventory inventory(lstLANA, lstCard);
    for (auto _ : state) {
        inventory.GetLANAInfo(runner, files);
        benchmark::DoNotOptimize(lstCard.rowCount());
    }
    if (lstCard.rowCount() != BindingInventory::MAX_SCAN_PASSES)
        state.SkipWithError("the refresh did not list ten NetBEUI adapters");
}

} // namespace quorvel::bench
