#include "binding_inventory.h"

#include "inventory/system_interfaces.h"
#include "inventory/lanacfg_contract.h"

#include <cstdint>
#include <string_view>

namespace quorvel {

namespace {

// The LANA number starts 7 characters after the "L" of "Lana:", the adapter name at the
// 23rd character of the binding line, which is just past the marker when it begins the line.
constexpr std::size_t kLanaTextOffset = 7;
constexpr std::size_t kAdapterNameOffset = 22;

std::string textFrom(std::string_view line, std::size_t offset)
{
    return offset < line.size() ? std::string(line.substr(offset)) : std::string();
}

bool contains(std::string_view line, std::string_view marker)
{
    return line.find(marker) != std::string::npos;
}

// The status the command interpreter ends with when it finds no program to run, and where it
// looked: cmd.exe on Windows, /bin/sh, which runs the report command, elsewhere.
#ifdef _WIN32
constexpr std::int64_t kInterpreterNotFoundStatus = 9009;
constexpr const char* kWhereInterpreterLooks =
    "the current folder, then the folders listed in PATH";
#else
constexpr std::int64_t kInterpreterNotFoundStatus = 127;
constexpr const char* kWhereInterpreterLooks = "the folders listed in PATH";
#endif

// Names the report command and how it ended; when the interpreter found no lanacfg, says so in
// plain words, since an empty report would otherwise pass for a machine without NetBEUI.
std::string reportCommandFailure(const std::string& command, const CommandOutcome& outcome)
{
    std::string failure = "the report command \"" + command + "\" " + outcome.description();
    if (outcome.end == CommandOutcome::End::Exited && outcome.value == kInterpreterNotFoundStatus)
        failure += std::string(": lanacfg was not found on the search path (looked in ")
            + kWhereInterpreterLooks + ")";
    return failure;
}

} // namespace

const std::vector<Binding>& BindingInventory::GetLANAInfo(
    CommandRunner& runner, ReportFiles& files, std::optional<std::chrono::seconds> timeLimit)
{
    // Nothing of an earlier report may be listed as current, even if this one fails.
    loadReport({});

    const std::string reportFile(kReportFileName);
    // Only the coming report command may put a file there: a file left from before would
    // pass for its report, and a link would have its output written wherever it points.
    files.removeLeftover(reportFile);
    try {
        const std::string command = reportCommand();
        const CommandOutcome outcome =
            timeLimit ? runner.run(command, TimeLimit{*timeLimit, OnTimeout::Stop})
                      : runner.run(command);
        const bool failed = !outcome.succeeded();
        // A script gets no partial report; the window lists whatever a failed command wrote,
        // but an empty report from it is no sign of "no NetBEUI".
        if (failed && timeLimit)
            throw OperationError(reportCommandFailure(command, outcome));
        loadReport(files.readLines(reportFile, kMaxReportBytes));
        if (failed && reportLines_.empty())
            throw OperationError(reportCommandFailure(command, outcome) + " and wrote no report");
    } catch (...) {
        loadReport({});
        // However the refresh failed, no report file of it stays behind to pass for a later one.
        try {
            files.removeLeftover(reportFile);
        } catch (...) {
            // The refresh's own error says more; the next refresh removes the file first.
        }
        throw;
    }
    files.remove(reportFile);

    scanReport();
    return bindings_;
}

void BindingInventory::nextNetBeuiBinding()
{
    // The last line has no binding line after it, so it is never examined as a LANA line.
    if (reportLines_.size() < 2)
        return;
    const std::size_t lastRow = reportLines_.size() - 2;

    for (; scanIndex_ <= lastRow; ++scanIndex_) {
        const std::string_view line = reportLines_[scanIndex_];
        const std::size_t lanaAt = line.find(kLanaMarker);
        if (lanaAt == std::string::npos)
            continue;

        const std::string_view bindingLine = reportLines_[scanIndex_ + 1];
        if (contains(bindingLine, kNetBEUIMarker) && !contains(bindingLine, kWanMarker)) {
            bindings_.push_back({textFrom(line, lanaAt + kLanaTextOffset),
                                 textFrom(bindingLine, kAdapterNameOffset)});
            // The next pass resumes at the binding line.
            ++scanIndex_;
            return;
        }
    }
}

void BindingInventory::loadReport(ReportLineTable lines)
{
    reportLines_ = std::move(lines);
    scanIndex_ = 0;
    bindings_.clear();
}

void BindingInventory::scanReport()
{
    for (int pass = 1; pass <= MAX_SCAN_PASSES; ++pass)
        nextNetBeuiBinding();
}

} // namespace quorvel
