#include "binding_inventory.h"

#include "inventory/lanacfg_contract.h"
#include "inventory/report_reading.h"
#include "inventory/system_interfaces.h"

#include <memory>
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

// Names the report command and how it ended; when the interpreter found no lanacfg, says so in
// plain words, since an empty report would otherwise pass for a machine without NetBEUI.
std::string reportCommandFailure(const std::string& command, const CommandOutcome& outcome,
                                 const ProgramNotFound& notFound)
{
    std::string failure = "the report command \"" + command + "\" " + outcome.description();
    if (outcome.end == CommandOutcome::End::Exited && outcome.value == notFound.status) {
        failure += ": lanacfg was not found on the search path (looked in ";
        failure += notFound.whereLooked;
        failure += ")";
    }
    return failure;
}

} // namespace

std::vector<Binding> scanBindings(const ReportLineTable& lines)
{
    std::vector<Binding> bindings;
    for (std::size_t row = 0; row + 1 < lines.size() && bindings.size() < kMostBindingsListed;
         ++row) {
        const std::string_view line = lines[row];
        const std::size_t lanaAt = line.find(kLanaMarker);
        if (lanaAt == std::string::npos)
            continue;
        const std::string_view bindingLine = lines[row + 1];
        // Listed or not, the search goes on at the binding line.
        if (contains(bindingLine, kNetBEUIMarker) && !contains(bindingLine, kWanMarker))
            bindings.push_back({textFrom(line, lanaAt + kLanaTextOffset),
                                textFrom(bindingLine, kAdapterNameOffset)});
    }
    return bindings;
}

std::vector<Binding> bindingsFromReportCommand(CommandRunner& runner, ReportFiles& files,
                                               std::optional<std::chrono::seconds> timeLimit)
{
    const std::string reportFile(kReportFileName);
    const std::unique_ptr<ReportFolderTurn> turn = files.takeFolderTurn(reportFile);
    // Only the coming report command may put a file there: a file left from before would
    // pass for its report, and a link would have its output written wherever it points.
    files.removeLeftover(reportFile);
    ReportLineTable lines;
    try {
        const std::string command = reportCommand();
        const CommandOutcome outcome =
            timeLimit ? runner.run(command, TimeLimit{*timeLimit, OnTimeout::Stop})
                      : runner.run(command);
        const bool failed = !outcome.succeeded();
        // A script gets no partial report; the window lists whatever a failed command wrote,
        // but an empty report from it is no sign of "no NetBEUI".
        if (failed && timeLimit)
            throw OperationError(
                reportCommandFailure(command, outcome, runner.interpreterNotFound()));
        lines = readReport(files, reportFile);
        if (failed && lines.empty())
            throw OperationError(
                reportCommandFailure(command, outcome, runner.interpreterNotFound()) +
                " and wrote no report");
    } catch (...) {
        // However the refresh failed, no report file of it stays behind to pass for a later one.
        try {
            files.removeLeftover(reportFile);
        } catch (...) {
            // The refresh's own error says more; the next refresh removes the file first.
        }
        throw;
    }
    files.remove(reportFile);
    return scanBindings(lines);
}

} // namespace quorvel
