#include "binding_inventory.h"

#include "inventory/adapter_list.h"
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

BindingInventory::BindingInventory(AdapterList& lstLANA, AdapterList& lstCard)
    : lstLANA(lstLANA), lstCard(lstCard)
{
}

void BindingInventory::GetLANAInfo(CommandRunner& runner, ReportFiles& files,
                                   std::optional<std::chrono::seconds> timeLimit)
{
    lstLANA.clear();
    lstCard.clear();
    // Nothing of an earlier report may be listed as current, even if this one fails.
    loadReport({});

    const std::string reportFile(kReportFileName);
    // Only the coming report command may put a file there: a file left from before would
    // pass for its report, and a link would have its output written wherever it points.
    files.removeLeftover(reportFile);
    const std::string command = reportCommand();
    if (!timeLimit) {
        runner.run(command);
    } else if (const CommandOutcome outcome = runner.run(command, TimeLimit{*timeLimit, OnTimeout::Stop});
               !outcome.succeeded()) {
        throw OperationError("the report command \"" + command + "\" " + outcome.description());
    }

    loadReport(files.readLines(reportFile, kMaxReportBytes));
    files.remove(reportFile);

    scanReport();
}

void BindingInventory::FindLANA0()
{
    // The last line has no binding line after it, so it is never examined as a LANA line.
    if (ReportLines.size() < 2)
        return;
    const std::size_t lastRow = ReportLines.size() - 2;

    for (; ScanIndex <= lastRow; ++ScanIndex) {
        const std::string_view line = ReportLines[ScanIndex];
        const std::size_t lanaAt = line.find(kLanaMarker);
        if (lanaAt == std::string::npos)
            continue;

        const std::string_view bindingLine = ReportLines[ScanIndex + 1];
        if (contains(bindingLine, kNetBEUIMarker) && !contains(bindingLine, kWanMarker)) {
            lstCard.append(textFrom(bindingLine, kAdapterNameOffset));
            lstLANA.append(textFrom(line, lanaAt + kLanaTextOffset));
            // The next pass resumes at the binding line.
            ++ScanIndex;
            return;
        }
    }
}

void BindingInventory::loadReport(ReportLineTable lines)
{
    ReportLines = std::move(lines);
    ScanIndex = 0;
}

void BindingInventory::scanReport()
{
    for (int pass = 1; pass <= MAX_SCAN_PASSES; ++pass)
        FindLANA0();
}

} // namespace quorvel
