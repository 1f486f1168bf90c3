#include "binding_inventory.h"

#include "inventory/adapter_list.h"
#include "inventory/command_runner.h"
#include "inventory/lana_tool.h"
#include "inventory/report_files.h"

#include <string_view>

namespace quorvel {

namespace {

// The LANA number starts 7 characters after the "L" of "Lana:", the adapter name at the
// 23rd character of the binding line, which is just past the marker when it begins the line.
constexpr std::size_t kLanaTextOffset = 7;
constexpr std::size_t kAdapterNameOffset = 22;

std::string textFrom(const std::string& line, std::size_t offset)
{
    return offset < line.size() ? line.substr(offset) : std::string();
}

bool contains(const std::string& line, std::string_view marker)
{
    return line.find(marker) != std::string::npos;
}

} // namespace

BindingInventory::BindingInventory(AdapterList& lstLANA, AdapterList& lstCard)
    : lstLANA(lstLANA), lstCard(lstCard)
{
}

void BindingInventory::GetLANAInfo(CommandRunner& runner, ReportFiles& files)
{
    lstLANA.clear();
    lstCard.clear();
    // Nothing of an earlier report may be listed as current, even if this one fails.
    loadReport({});

    runner.run(reportCommand());

    const std::string reportFile(kReportFileName);
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
        const std::string& line = ReportLines[ScanIndex];
        const std::size_t lanaAt = line.find(kLanaMarker);
        if (lanaAt == std::string::npos)
            continue;

        const std::string& bindingLine = ReportLines[ScanIndex + 1];
        if (contains(bindingLine, kNetBEUIMarker) && !contains(bindingLine, kWanMarker)) {
            lstCard.append(textFrom(bindingLine, kAdapterNameOffset));
            lstLANA.append(textFrom(line, lanaAt + kLanaTextOffset));
            // The next pass resumes at the binding line.
            ++ScanIndex;
            return;
        }
    }
}

void BindingInventory::loadReport(std::vector<std::string> lines)
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
