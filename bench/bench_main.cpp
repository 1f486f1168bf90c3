#include "inventory/binding_inventory.h"
#include "report_text.h"
#include "summary_reporter.h"
#include "tests/support/scratch_folder.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

namespace {

namespace fs = std::filesystem;

// The stand-in's state file, in the benchmark's scratch folder, holds ten NetBEUI adapters.
void prepareStandIn(const fs::path& scratch)
{
    const fs::path state = scratch / "bindings.txt";
    std::ofstream(state) << quorvel::bench::stateText(quorvel::kMostBindingsListed);
    quorvel::testing::setEnvironment("LANACFG_STATE", state.string());
}

} // namespace

int main(int argc, char* argv[])
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return EXIT_FAILURE;
    // QProcess in the runner wants an application object.
    QCoreApplication app(argc, argv);

    try {
        // Every benchmark runs in a fresh folder, where the report file and the stand-in's
        // state file live, with the freshly built stand-in lanacfg first on PATH.
        const quorvel::testing::ScratchFolder scratch(quorvel::testing::ScratchFolder::Enter::Yes,
                                                      "quorvel-bench");
        const quorvel::testing::PathPrefix standInFirst(fs::path(LANACFG_PATH).parent_path());
        prepareStandIn(scratch.path());
        quorvel::bench::SummaryReporter reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);
        reporter.printSummary(std::cout);
        benchmark::Shutdown();
        return EXIT_SUCCESS;
    } catch (const std::exception& error) {
        // A benchmark that cannot run at all (no scratch directory, no child process).
        std::cerr << "quorvel_bench: " << error.what() << '\n';
        return EXIT_FAILURE;
    }
}
