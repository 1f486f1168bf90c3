#include "unattended_mode.h"

#include "assignment/lana_assignment.h"
#include "inventory/binding_inventory.h"
#include "inventory/system_interfaces.h"
#include "unattended/byte_output.h"
#include "unattended/unattended_options.h"

namespace quorvel {

namespace {

// A message on standard error: its line after the program's name, then the lines that go with
// it. A failure to write it leaves nothing else to tell.
void tell(ByteOutput& err, std::string_view message, std::string_view moreLines = {})
{
    err.write(std::string(kProgramName) + ": " + printableText(message) + "\n" +
              std::string(moreLines));
}

void printBindings(ByteOutput& out, const std::vector<Binding>& bindings)
{
    std::string list;
    for (const Binding& binding : bindings)
        list += binding.lana + '\t' + binding.adapterName + '\n';
    // A full disk or a closed pipe: the script must not take a missing list for an empty one.
    if (!out.write(list))
        throw OperationError("could not write the list to standard output");
}

int listAdapters(const UnattendedRequest& request, CommandRunner& runner, ReportFiles& files,
                 ByteOutput& out)
{
    printBindings(out, bindingsFromReportCommand(runner, files, request.timeout));
    return kStatusDone;
}

int setAdapter(const UnattendedRequest& request, const AdapterChoice& choice, CommandRunner& runner,
               ReportFiles& files, RenumberingLock& lock, bool userMayRenumber, ByteOutput& out,
               ByteOutput& err)
{
    const NamedAssignmentResult result =
        assignLana0ByName(choice, runner, files, lock, request.timeout, userMayRenumber);
    switch (result.outcome) {
    case NamedAssignmentOutcome::Assigned:
        // The refresh that confirmed the change is the new list.
        printBindings(out, result.bindings);
        return kStatusDone;
    case NamedAssignmentOutcome::NotTaken:
        tell(err, result.message);
        return kStatusNotTaken;
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

} // namespace

int runUnattended(const std::vector<std::string>& arguments, const std::string& version,
                  OptionStyle style, CommandRunner& runner, ReportFiles& files,
                  RenumberingLock& lock, bool userMayRenumber, ByteOutput& out, ByteOutput& err)
{
    try {
        const ParsedOptions parsed = parseUnattendedOptions(arguments, version, style);
        if (const auto* problem = std::get_if<UsageProblem>(&parsed)) {
            tell(err, problem->problem, problem->hint + '\n');
            return kStatusUsage;
        }
        if (const auto* answer = std::get_if<ImmediateAnswer>(&parsed)) {
            if (!out.write(answer->text))
                throw OperationError("could not write the " + std::string(answer->subject) +
                                     " to standard output");
            return kStatusDone;
        }
        const auto& request = std::get<UnattendedRequest>(parsed);
        if (const auto* set = std::get_if<SetRequest>(&request.action))
            return setAdapter(request, {set->adapterName, false}, runner, files, lock,
                              userMayRenumber, out, err);
        if (const auto* match = std::get_if<SetMatchRequest>(&request.action))
            return setAdapter(request, {match->pattern, true}, runner, files, lock, userMayRenumber,
                              out, err);
        return listAdapters(request, runner, files, out);
    } catch (...) {
        tell(err, describeCurrentError());
        return kStatusNoReport;
    }
}

} // namespace quorvel
