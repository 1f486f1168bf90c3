#include "unattended_mode.h"

#include "assignment/lana_assignment.h"
#include "inventory/binding_inventory.h"
#include "inventory/system_interfaces.h"
#include "unattended/unattended_options.h"

namespace quorvel {

namespace {

// Exit statuses of the options for scripts, as the README lists them.
constexpr int kStatusDone = 0;
constexpr int kStatusNotTaken = 1;
constexpr int kStatusUsage = 2;
constexpr int kStatusNoReport = 3;

void printBindings(std::ostream& out, const std::vector<Binding>& bindings)
{
    for (const Binding& binding : bindings)
        out << binding.lana << '\t' << binding.adapterName << '\n';
    out.flush();
    // A full disk or a closed pipe: the script must not take a missing list for an empty one.
    if (!out)
        throw OperationError("could not write the list to standard output");
}

int listAdapters(const UnattendedRequest& request, CommandRunner& runner, ReportFiles& files,
                 std::ostream& out)
{
    printBindings(out, bindingsFromReportCommand(runner, files, request.timeout));
    return kStatusDone;
}

int setAdapter(const UnattendedRequest& request, const AdapterChoice& choice,
               CommandRunner& runner, ReportFiles& files, RenumberingLock& lock,
               bool userMayRenumber, std::ostream& out, std::ostream& err)
{
    const NamedAssignmentResult result =
        assignLana0ByName(choice, runner, files, lock, request.timeout, userMayRenumber);
    switch (result.outcome) {
    case NamedAssignmentOutcome::Assigned:
        // The refresh that confirmed the change is the new list.
        printBindings(out, result.bindings);
        return kStatusDone;
    case NamedAssignmentOutcome::NotTaken:
        err << kProgramName << ": " << printableText(result.message) << '\n';
        return kStatusNotTaken;
    case NamedAssignmentOutcome::NotListed:
    case NamedAssignmentOutcome::Ambiguous:
        break;
    }
    err << kProgramName << ": " << printableText(result.message) << '\n';
    for (const std::string& name : result.names)
        err << "  " << printableText(name) << '\n';
    return kStatusUsage;
}

} // namespace

int runUnattended(const std::vector<std::string>& arguments, const std::string& version,
                  OptionStyle style, CommandRunner& runner, ReportFiles& files,
                  RenumberingLock& lock, bool userMayRenumber, std::ostream& out,
                  std::ostream& err)
{
    try {
        const ParsedOptions parsed = parseUnattendedOptions(arguments, version, style);
        if (const auto* problem = std::get_if<UsageProblem>(&parsed)) {
            err << kProgramName << ": " << printableText(problem->problem) << '\n'
                << problem->hint << '\n';
            return kStatusUsage;
        }
        if (const auto* answer = std::get_if<ImmediateAnswer>(&parsed)) {
            out << answer->text << std::flush;
            return kStatusDone;
        }
        const auto& request = std::get<UnattendedRequest>(parsed);
        if (const auto* set = std::get_if<SetRequest>(&request.action))
            return setAdapter(request, {set->adapterName, false}, runner, files, lock,
                              userMayRenumber, out, err);
        if (const auto* match = std::get_if<SetMatchRequest>(&request.action))
            return setAdapter(request, {match->pattern, true}, runner, files, lock,
                              userMayRenumber, out, err);
        return listAdapters(request, runner, files, out);
    } catch (...) {
        err << kProgramName << ": " << printableText(describeCurrentError()) << '\n';
        return kStatusNoReport;
    }
}

} // namespace quorvel
