#pragma once

#include "inventory/system_interfaces.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace quorvel::testing {

// Report files kept in memory, keyed by path.
class FakeReportFiles : public ReportFiles {
public:
    void removeLeftover(const std::string& path) override;
    ReportLineTable readLines(const std::string& path, std::uintmax_t maxBytes) override;
    void remove(const std::string& path) override;

    std::map<std::string, std::string> files;
    // Paths whose entry cannot be removed, as a file left by another account.
    std::vector<std::string> stuck;
};

// Stands in for lanacfg: records every command line and its time limit, and answers the
// report command by writing the next report, if one is set, into the fake report files.
class FakeLanacfg : public CommandRunner {
public:
    explicit FakeLanacfg(FakeReportFiles& files) : files_(files) {}
    CommandOutcome run(const std::string& commandLine,
                       std::optional<TimeLimit> limit = std::nullopt) override;

    std::vector<std::string> commands;
    std::vector<std::optional<TimeLimit>> limits;
    std::optional<std::string> nextReport;
    CommandOutcome outcome;

private:
    FakeReportFiles& files_;
};

// A lock always free that notes each turn: "acquire" with its wait ("acquire 300 s", or
// "acquire, no limit") and "release".
class FakeRenumberingLock : public RenumberingLock {
public:
    void acquire(std::optional<std::chrono::seconds> wait) override;
    void release() noexcept override;

    std::vector<std::string> events;
};

// The report's bytes: each line followed by a line break.
std::string joinLines(const std::vector<std::string>& lines, const std::string& lineBreak = "\n");

} // namespace quorvel::testing
