#include "inventory/binding_inventory.h"
#include "report_text.h"
#include "summary_reporter.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// Every benchmark runs in a fresh directory, where the report file and the stand-in's state
// file live, with the freshly built stand-in lanacfg first on PATH.
fs::path enterScratchDirectory()
{
    std::string scratch = (fs::temp_directory_path() / "quorvel-bench-XXXXXX").string();
    if (::mkdtemp(scratch.data()) == nullptr)
        throw fs::filesystem_error("cannot make a scratch directory", scratch,
                                   std::error_code(errno, std::generic_category()));
    fs::current_path(scratch);

    const fs::path state = fs::path(scratch) / "bindings.txt";
    std::ofstream(state) << quorvel::bench::stateText(quorvel::BindingInventory::MAX_SCAN_PASSES);
    ::setenv("LANACFG_STATE", state.c_str(), 1);

    const char* path = std::getenv("PATH");
    const std::string lanacfgDir = fs::path(LANACFG_PATH).parent_path().string();
    ::setenv("PATH", (lanacfgDir + ":" + (path != nullptr ? path : "/usr/bin:/bin")).c_str(), 1);
    return scratch;
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
        const fs::path scratch = enterScratchDirectory();
        quorvel::bench::SummaryReporter reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);
        reporter.printSummary(std::cout);
        benchmark::Shutdown();

        fs::current_path(scratch.parent_path());
        fs::remove_all(scratch);
        return EXIT_SUCCESS;
    } catch (const std::exception& error) {
        // A benchmark that cannot run at all (no scratch directory, no child process).
        std::cerr << "quorvel_bench: " << error.what() << '\n';
        return EXIT_FAILURE;
    }
}
