#pragma once

#include <benchmark/benchmark.h>
#include <map>
#include <ostream>
#include <string>

namespace quorvel::bench {

// The console output, plus the ratios of benchmarks that only mean something side by side,
// printed once every benchmark has run.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    SummaryReporter();
    void ReportRuns(const std::vector<Run>& runs) override;
    void printSummary(std::ostream& out) const;

private:
    struct Figures {
        double seconds = 0;
        benchmark::UserCounters counters;
    };
    std::map<std::string, Figures> figures_;
};

} // namespace quorvel::bench
