#include "summary_reporter.h"

#include <array>
#include <cstdio>
#include <unistd.h>

namespace quorvel::bench {

namespace {

std::string format(const char* pattern, double a, double b, double c)
{
    std::array<char, 160> text{};
    std::snprintf(text.data(), text.size(), pattern, a, b, c);
    return text.data();
}

} // namespace

// Colours only on a terminal, so that a saved run reads cleanly.
SummaryReporter::SummaryReporter()
    : ConsoleReporter(::isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular)
{
}

void SummaryReporter::ReportRuns(const std::vector<Run>& runs)
{
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        // Repeated benchmarks are taken by their medians, others by their one run.
        const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
        if (run.error_occurred || !(median || run.repetitions <= 1))
            continue;
        figures_[run.run_name.function_name] = {run.GetAdjustedRealTime() /
                                                    benchmark::GetTimeUnitMultiplier(run.time_unit),
                                                run.counters};
    }
}

void SummaryReporter::printSummary(std::ostream& out) const
{
    const auto both = [this](const char* a, const char* b) {
        return figures_.contains(a) && figures_.contains(b);
    };
    out << "\nSummary\n";
    if (both("refreshThroughLanacfg", "bareReportCommand")) {
        const double refresh = figures_.at("refreshThroughLanacfg").seconds;
        const double bare = figures_.at("bareReportCommand").seconds;
        out << format(
            "  refresh through lanacfg / bare report command: %.2fx (%.2f ms / %.2f ms)\n",
            refresh / bare, refresh * 1e3, bare * 1e3);
    }
    if (both("coldStartQuorvel", "coldStartMinimalWindow")) {
        const Figures& quorvel = figures_.at("coldStartQuorvel");
        const Figures& minimal = figures_.at("coldStartMinimalWindow");
        out << format(
            "  quorvel / minimal Qt window, start to first paint: %.2fx (%.1f ms / %.1f ms)\n",
            quorvel.seconds / minimal.seconds, quorvel.seconds * 1e3, minimal.seconds * 1e3);
        const double quorvelExit = quorvel.counters.at("exit_ms").value;
        const double minimalExit = minimal.counters.at("exit_ms").value;
        out << format("  quorvel / minimal Qt window, start to exit: %.2fx (%.1f ms / %.1f ms)\n",
                      quorvelExit / minimalExit, quorvelExit, minimalExit);
        const double quorvelRss = quorvel.counters.at("peak_rss").value / (1024 * 1024);
        const double minimalRss = minimal.counters.at("peak_rss").value / (1024 * 1024);
        out << format("  quorvel / minimal Qt window, peak memory: %.2fx (%.1f MiB / %.1f MiB)\n",
                      quorvelRss / minimalRss, quorvelRss, minimalRss);
    }
}

} // namespace quorvel::bench
