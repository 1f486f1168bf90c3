#pragma once

#include "assignment/renumbering_log.h"
#include "inventory/system_interfaces.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quorvel::testing {

// Report files kept in memory, keyed by path; shown by that path, UTF-16 converted to UTF-8.
class FakeReportFiles : public ReportFiles {
public:
    void removeLeftover(const std::string& path) override;
    std::unique_ptr<OpenReportFile> open(const std::string& path) override;
    void remove(const std::string& path) override;
    std::string shownName(const std::string& path) override { return path; }
    NarrowFromUtf16 narrowEncoding() const override { return utf8FromUtf16; }

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
    ProgramNotFound interpreterNotFound() const override { return notFound; }

    std::vector<std::string> commands;
    std::vector<std::optional<TimeLimit>> limits;
    std::optional<std::string> nextReport;
    CommandOutcome outcome;
    // When set, how the renumbering command ends, after which the next report is `after`.
    std::optional<CommandOutcome> renumberingEnd;
    std::string after;
    ProgramNotFound notFound{127, "the folders listed in PATH"}; // as sh says it

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

// A record in one line: result, program, adapter, LANA before and after ("-": unknown), the
// command in brackets, and how it ended.
std::string recordText(const RenumberingRecord& record);

// Keeps each record; throws OperationError instead while `refusing`.
struct FakeRenumberingLog : RenumberingLog {
    void record(const RenumberingRecord& r) override
    {
        refusing ? throw OperationError("the log is full") : records.push_back(r);
    }
    std::vector<RenumberingRecord> records;
    bool refusing = false;
};

// The report's bytes: each line followed by a line break.
std::string joinLines(const std::vector<std::string>& lines, const std::string& lineBreak = "\n");

} // namespace quorvel::testing
