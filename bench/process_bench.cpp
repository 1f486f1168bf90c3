#include "inventory/binding_inventory.h"
#include "inventory/lanacfg_contract.h"
#include "platform/command_line_words.h"
#include "platform/system_access.h"
#include "refresh_loop.h"

#include <QProcess>
#include <QString>

#include <benchmark/benchmark.h>
#include <filesystem>

namespace quorvel::bench {

namespace {

// Both run the stand-in lanacfg found on PATH, on the state file that main() prepared.

void refreshThroughLanacfg(benchmark::State& state)
{
    SystemCommandRunner runner;
    refreshEachIteration(state, runner);
}
// Repeated, and compared by their medians: the machine may be busy with other work.
BENCHMARK(refreshThroughLanacfg)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(0.5)
    ->Repetitions(5);

// The report command alone, started as the runner starts it: what a refresh cannot avoid.
void bareReportCommand(benchmark::State& state)
{
    const QString command = QString::fromStdString(interpreterCommand(reportCommand()).value());
    for (auto _ : state) {
        QProcess process;
        process.setProgram(QStringLiteral("/bin/sh"));
        process.setArguments({QStringLiteral("-c"), command});
        process.setStandardInputFile(QProcess::nullDevice());
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start();
        if (!process.waitForStarted(-1) || !process.waitForFinished(-1) ||
            process.exitCode() != 0) {
            state.SkipWithError("the report command failed");
            break;
        }
        // A refresh deletes the report, so its command never overwrites one; overwriting
        // costs ext4 a flush on close (a truncated file is written out at once).
        state.PauseTiming();
        std::filesystem::remove(std::string(kReportFileName));
        state.ResumeTiming();
    }
}
BENCHMARK(bareReportCommand)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(0.5)
    ->Repetitions(5);

} // namespace

} // namespace quorvel::bench
