#pragma once

#include <benchmark/benchmark.h>

namespace quorvel {
class CommandRunner;
}

namespace quorvel::bench {

// One whole refresh per iteration, report file read through SystemReportFiles; the benchmark is
// marked failed unless the last refresh listed as many adapters as one refresh can.
void refreshEachIteration(benchmark::State& state, CommandRunner& runner);

} // namespace quorvel::bench
