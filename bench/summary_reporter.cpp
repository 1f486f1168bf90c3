#include "summary_reporter.h"

#include <array>
#include <cstdio>
#include <string>
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
        const Figures figures{run.GetAdjustedRealTime() /
                                  benchmark::GetTimeUnitMultiplier(run.time_unit),
                              run.counters};
        figures_[run.run_name.function_name] = figures;
        // Benchmarks with arguments are also kept apart, under name/argument.
        if (!run.run_name.args.empty())
            figures_[run.run_name.function_name + "/" + run.run_name.args] = figures;
    }
}

void SummaryReporter::printSummary(std::ostream& out) const
{
    const auto both = [this](const char* a, const char* b) {
        return figures_.contains(a) && figures_.contains(b);
    };
    out << "\nSummary\n";
    // Each refresh beside its floor: a regression in reading or scanning shows in one line.
    const auto toFloor = [&](const std::string& bindings, const char* pattern, double unit) {
        const std::string refresh = "refreshWithFakeRunner/bindings:" + bindings;
        const std::string floor = "refreshFloorPlainLineSplit/bindings:" + bindings;
        if (!both(refresh.c_str(), floor.c_str()))
            return;
        const double refreshSeconds = figures_.at(refresh).seconds;
        const double floorSeconds = figures_.at(floor).seconds;
        out << format(pattern, refreshSeconds / floorSeconds, refreshSeconds * unit,
                      floorSeconds * unit);
    };
    toFloor("49999",
            "  100,000-line refresh with a fake runner / plain line split of its bytes: %.2fx "
            "(%.2f ms / %.2f ms)\n",
            1e3);
    toFloor("10",
            "  ten-adapter refresh with a fake runner / plain line split of its bytes: %.0fx "
            "(%.1f us / %.3f us)\n",
            1e6);
    if (both("refreshWithFakeRunner/bindings:10", "bareReportCommand")) {
        const double scan = figures_.at("refreshWithFakeRunner/bindings:10").seconds;
        const double bare = figures_.at("bareReportCommand").seconds;
        out << format("  ten-adapter refresh with a fake runner / bare report command: %.2f %% "
                      "(%.1f us / %.0f us)\n",
                      100 * scan / bare, scan * 1e6, bare * 1e6);
    }
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
    if (both("coldStartQuorvel", "coldStartMinimalWindow") &&
        figures_.contains("bareReportCommand")) {
        const double quorvel = figures_.at("coldStartQuorvel").seconds;
        const double minimal = figures_.at("coldStartMinimalWindow").seconds;
        const double bare = figures_.at("bareReportCommand").seconds;
        out << format("  quorvel / (minimal Qt window + bare report command), start to first "
                      "paint: %.2fx (%.1f ms / %.1f ms)\n",
                      quorvel / (minimal + bare), quorvel * 1e3, (minimal + bare) * 1e3);
    }
    if (both("coldStartQuorvel", "coldStartMinimalTextWindow") &&
        figures_.contains("bareReportCommand")) {
        const Figures& quorvel = figures_.at("coldStartQuorvel");
        const Figures& text = figures_.at("coldStartMinimalTextWindow");
        const double bare = figures_.at("bareReportCommand").seconds;
        out << format("  quorvel / (minimal window with text + bare report command), start to "
                      "first paint: %.2fx (%.1f ms / %.1f ms)\n",
                      quorvel.seconds / (text.seconds + bare), quorvel.seconds * 1e3,
                      (text.seconds + bare) * 1e3);
        const double quorvelRss = quorvel.counters.at("peak_rss").value / (1024 * 1024);
        const double textRss = text.counters.at("peak_rss").value / (1024 * 1024);
        out << format("  quorvel / minimal window with text, peak memory: %.2fx (%.1f MiB / "
                      "%.1f MiB)\n",
                      quorvelRss / textRss, quorvelRss, textRss);
    }
}

} // namespace quorvel::bench
