#include "unattended_mode.h"

#include "assignment/lana_assignment.h"
#include "assignment/renumbering_log.h"
#include "inventory/binding_inventory.h"
#include "inventory/system_interfaces.h"
#include "unattended/byte_output.h"
#include "unattended/unattended_options.h"

#include <chrono>
#include <ctime>

namespace quorvel {

namespace {

constexpr const char* kListNotWritten = "could not write the list to standard output";

// One run as its line of --log tells it. The outcome is one of a fixed set of words, which the
// README lists: scripts count them.
struct RunLogEntry {
    std::string action;
    std::string adapter;
    std::string lanaBefore;
    std::string lanaAfter;
    std::string outcome = "no-report"; // until the bindings are had
};

// A message on standard error: its line after the program's name, then the lines that go with
// it. A failure to write it leaves nothing else to tell.
void tell(ByteOutput& err, std::string_view message, std::string_view moreLines = {})
{
    err.write(std::string(kProgramName) + ": " + printableText(message) + "\n" +
              std::string(moreLines));
}

std::string quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

// A full disk or a closed pipe: false, as the script must not take a missing list for an
// empty one.
bool printBindings(ByteOutput& out, const std::vector<Binding>& bindings)
{
    std::string list;
    for (const Binding& binding : bindings)
        list += binding.lana + '\t' + binding.adapterName + '\n';
    return out.write(list);
}

int listAdapters(const UnattendedRequest& request, CommandRunner& runner, ReportFiles& files,
                 ByteOutput& out, RunLogEntry& entry)
{
    const std::vector<Binding> bindings = bindingsFromReportCommand(runner, files, request.timeout);
    entry.outcome = "listed";
    if (!printBindings(out, bindings))
        throw OperationError(kListNotWritten);
    return kStatusDone;
}

const char* outcomeWord(const NamedAssignmentResult& result)
{
    switch (result.outcome) {
    case NamedAssignmentOutcome::NotListed:
        return "not-listed";
    case NamedAssignmentOutcome::Ambiguous:
        return "ambiguous";
    case NamedAssignmentOutcome::Refused:
        return "refused";
    case NamedAssignmentOutcome::NotTaken:
        return "failed";
    case NamedAssignmentOutcome::Unchecked:
        return "no-report";
    case NamedAssignmentOutcome::Assigned:
        break;
    }
    return result.attempt->result == RenumberingResult::AlreadyOnLana0 ? "already" : "renumbered";
}

// The line after the list that tells a script what was done, or for a dry run what would be.
std::string doneLine(const RenumberingRecord& attempt, bool dryRun)
{
    const std::string adapter = quoted(attempt.adapterName);
    if (attempt.result == RenumberingResult::AlreadyOnLana0)
        return adapter + " already on LANA 0";
    if (dryRun)
        return "dry run: " + quoted(attempt.command) + " would give " + adapter + " LANA 0";
    return adapter + " renumbered from LANA " + attempt.lanaBefore + " to LANA " +
           attempt.lanaAfter.value_or("");
}

int setAdapter(const UnattendedRequest& request, const AdapterChoice& choice, CommandRunner& runner,
               ReportFiles& files, RenumberingLock& lock, bool userMayRenumber, RenumberingLog& log,
               ByteOutput& out, ByteOutput& err, RunLogEntry& entry)
{
    entry.adapter = choice.text;
    const NamedAssignmentResult result =
        request.dryRun
            ? previewLana0ByName(choice, runner, files, request.timeout)
            : assignLana0ByName(choice, runner, files, lock, request.timeout, userMayRenumber);
    entry.outcome = outcomeWord(result);
    if (result.attempt) {
        entry.adapter = result.attempt->adapterName;
        entry.lanaBefore = result.attempt->lanaBefore;
        entry.lanaAfter = result.attempt->lanaAfter.value_or("");
        if (!request.dryRun) {
            try {
                log.record(*result.attempt);
            } catch (...) {
                tell(err,
                     "the system's log did not take the renumbering: " + describeCurrentError());
            }
        }
    }
    switch (result.outcome) {
    case NamedAssignmentOutcome::Assigned: {
        // The refresh that confirmed the change is the new list.
        const bool listed = printBindings(out, result.bindings);
        if (!listed)
            tell(err, kListNotWritten);
        tell(err, doneLine(*result.attempt, request.dryRun));
        if (listed)
            return kStatusDone;
        return request.dryRun ? kStatusNoReport : kStatusListNotWritten;
    }
    case NamedAssignmentOutcome::NotTaken:
        tell(err, result.message);
        return kStatusNotTaken;
    case NamedAssignmentOutcome::Refused:
    case NamedAssignmentOutcome::Unchecked:
        tell(err, result.message);
        return kStatusNoReport;
    case NamedAssignmentOutcome::NotListed:
    case NamedAssignmentOutcome::Ambiguous:
        break;
    }
    std::string names;
    for (const std::string& name : result.names)
        names += "  " + printableText(name) + '\n';
    tell(err, result.message, names);
    return kStatusUsage;
}

// ISO 8601 in UTC, to the second.
std::string utcTime()
{
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    const std::tm* utc = std::gmtime(&now);
    char text[32] = "";
    if (utc != nullptr)
        std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", utc);
    return text;
}

// Appends the run's line to the --log file; says on `err` why it could not.
void appendRunLog(const std::string& path, const RunLogEntry& entry, const std::string& version,
                  int status, const RunRecords& records, ByteOutput& err)
{
    try {
        std::string line = utcTime();
        for (const std::string& field :
             {records.computerName(), records.userName(), version, entry.action, entry.adapter,
              entry.lanaBefore, entry.lanaAfter, entry.outcome, std::to_string(status)})
            line += '\t' + printableText(field);
        records.appendLine(path, line);
    } catch (...) {
        tell(err, describeCurrentError());
    }
}

} // namespace

int runUnattended(const std::vector<std::string>& arguments, const std::string& version,
                  OptionStyle style, CommandRunner& runner, ReportFiles& files,
                  RenumberingLock& lock, bool userMayRenumber, const RunRecords& records,
                  ByteOutput& out, ByteOutput& err)
{
    ParsedOptions parsed;
    try {
        parsed = parseUnattendedOptions(arguments, version, style);
    } catch (...) {
        tell(err, describeCurrentError());
        return kStatusNoReport;
    }
    if (const auto* problem = std::get_if<UsageProblem>(&parsed)) {
        tell(err, problem->problem, problem->hint + '\n');
        return kStatusUsage;
    }
    if (const auto* answer = std::get_if<ImmediateAnswer>(&parsed)) {
        if (out.write(answer->text))
            return kStatusDone;
        tell(err, "could not write the " + std::string(answer->subject) + " to standard output");
        return kStatusNoReport;
    }
    const auto& request = std::get<UnattendedRequest>(parsed);
    const auto* set = std::get_if<SetRequest>(&request.action);
    const auto* match = std::get_if<SetMatchRequest>(&request.action);
    RunLogEntry entry;
    entry.action = set != nullptr ? "set" : match != nullptr ? "set-match" : "list";
    if (request.dryRun)
        entry.action += "-dry-run";
    int status = kStatusNoReport;
    try {
        if (set != nullptr || match != nullptr)
            status = setAdapter(request,
                                set != nullptr ? AdapterChoice{set->adapterName, false}
                                               : AdapterChoice{match->pattern, true},
                                runner, files, lock, userMayRenumber, records.renumberingLog, out,
                                err, entry);
        else
            status = listAdapters(request, runner, files, out, entry);
    } catch (...) {
        tell(err, describeCurrentError());
    }
    if (request.logFile)
        appendRunLog(*request.logFile, entry, version, status, records, err);
    return status;
}

} // namespace quorvel
