#include "binding_inventory.h"

#include "inventory/system_interfaces.h"
#include "inventory/lanacfg_contract.h"

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
    const std::string command = reportCommand();
    if (!timeLimit) {
        runner.run(command);
    } else if (const CommandOutcome outcome =
                   runner.run(command, TimeLimit{*timeLimit, OnTimeout::Stop});
               !outcome.succeeded()) {
        throw OperationError("the report command \"" + command + "\" " + outcome.description());
    }

    loadReport(files.readLines(reportFile, kMaxReportBytes));
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
