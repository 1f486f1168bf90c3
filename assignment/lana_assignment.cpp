#include "lana_assignment.h"

#include "inventory/ascii_text.h"
#include "inventory/lanacfg_contract.h"
#include "inventory/system_interfaces.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace quorvel {

namespace {

std::vector<const Binding*> bindingsChosen(const std::vector<Binding>& bindings,
                                           const AdapterChoice& choice)
{
    std::vector<const Binding*> chosen;
    for (const Binding& binding : bindings) {
        if (choice.isPattern ? matchesAdapterPattern(binding.adapterName, choice.text)
                             : binding.adapterName == choice.text)
            chosen.push_back(&binding);
    }
    return chosen;
}

std::vector<std::string> namesOf(const std::vector<const Binding*>& bindings)
{
    std::vector<std::string> names;
    names.reserve(bindings.size());
    for (const Binding* binding : bindings)
        names.push_back(binding->adapterName);
    return names;
}

std::string quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

// The LANA text runs to the end of its report line, so a tool may leave blanks after it.
bool showsLana0(std::string_view lanaText)
{
    const std::size_t end = lanaText.find_last_not_of(" \t");
    return lanaText.substr(0, end == std::string_view::npos ? 0 : end + 1) == "0";
}

// Runs the renumbering command; how it failed, or nothing when it ended with success. A
// command that cannot even start is a renumbering that did not take, not a report that could
// not be had. A user whom the system does not let renumber is told that this is the likely
// cause.
std::string renumber(const std::string& lanaText, CommandRunner& runner,
                     std::optional<TimeLimit> limit, bool userMayRenumber)
{
    // Outside the try: a LANA text that is not a number is no renumbering that failed but a
    // report that cannot be trusted.
    const std::string command = renumberCommand(lanaText);
    std::string failure;
    try {
        const CommandOutcome outcome = runner.run(command, limit);
        if (outcome.succeeded())
            return {};
        failure = "the renumbering command " + quoted(command) + " " + outcome.description();
    } catch (const OperationError& error) {
        failure = error.what();
    }
    if (!userMayRenumber)
        failure += "; changing LANA numbers needs an administrator, for example a computer "
                   "start-up script or psexec -s";
    return failure;
}

} // namespace

Assignment assignLana0(const std::vector<Binding>& shown, int highlightedRow,
                       const std::vector<Binding>& listed, CommandRunner& runner,
                       bool userMayRenumber)
{
    if (shown.empty())
        return {Assignment::Outcome::NoAdapterListed};
    // With no row highlighted the LANA text is empty and the tool itself turns the command
    // down; the refresh then shows nothing changed.
    const auto row = static_cast<std::size_t>(highlightedRow);
    const bool rowHighlighted = highlightedRow >= 0 && row < shown.size();
    if (rowHighlighted && std::find(listed.begin(), listed.end(), shown[row]) == listed.end())
        return {Assignment::Outcome::BindingsChanged};
    const std::string lanaText = rowHighlighted ? shown[row].lana : "";
    std::string failure = renumber(lanaText, runner, std::nullopt, userMayRenumber);
    if (failure.empty())
        return {Assignment::Outcome::Done};
    return {Assignment::Outcome::RenumberingFailed, std::move(failure)};
}

bool matchesAdapterPattern(std::string_view name, std::string_view pattern)
{
    // Greedy with one step back: a later * takes over from an earlier one, so no name costs
    // more than one pass for each star.
    std::size_t n = 0;
    std::size_t p = 0;
    std::size_t starAt = std::string_view::npos;
    std::size_t nameAtStar = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starAt = p++;
            nameAtStar = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == '?' || asciiLower(pattern[p]) == asciiLower(name[n]))) {
            ++p;
            ++n;
        } else if (starAt != std::string_view::npos) {
            p = starAt + 1;
            n = ++nameAtStar;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

NamedAssignmentResult assignLana0ByName(const AdapterChoice& choice, CommandRunner& runner,
                                        ReportFiles& files, RenumberingLock& lock,
                                        std::chrono::seconds timeLimit, bool userMayRenumber)
{
    // From the first report to the check: a run that read the list before another's change
    // would undo that change.
    const RenumberingTurn turn(lock, timeLimit);
    std::vector<Binding> bindings = bindingsFromReportCommand(runner, files, timeLimit);
    const std::vector<const Binding*> chosen = bindingsChosen(bindings, choice);
    if (chosen.empty()) {
        const std::string what = choice.isPattern
                                     ? "no listed adapter matches " + quoted(choice.text)
                                     : "no adapter named " + quoted(choice.text) + " is listed";
        return {NamedAssignmentOutcome::NotListed,
                what + (bindings.empty() ? "; no adapter is listed at all"
                                         : "; the listed adapters are:"),
                bindings, namesOf(bindingsChosen(bindings, {"*", true}))};
    }
    if (chosen.size() > 1) {
        if (choice.isPattern)
            return {NamedAssignmentOutcome::Ambiguous,
                    "more than one listed adapter matches " + quoted(choice.text) + ":", bindings,
                    namesOf(chosen)};
        std::string lanas;
        for (const Binding* binding : chosen)
            lanas += (lanas.empty() ? "" : ", ") + quoted(binding->lana);
        return {NamedAssignmentOutcome::Ambiguous,
                "more than one adapter is named " + quoted(choice.text) + ", on LANAs " + lanas,
                bindings};
    }
    // From here on the adapter is the one listed under this name.
    const std::string adapterName = chosen.front()->adapterName;
    const std::string lanaBefore = chosen.front()->lana;
    if (showsLana0(lanaBefore))
        return {NamedAssignmentOutcome::Assigned, quoted(adapterName) + " is on LANA 0", bindings};

    const std::string failure = renumber(
        lanaBefore, runner, TimeLimit{timeLimit, OnTimeout::LeaveRunning}, userMayRenumber);

    bindings = bindingsFromReportCommand(runner, files, timeLimit);
    const std::string why = failure.empty() ? "" : ": " + failure;
    const std::vector<const Binding*> after = bindingsChosen(bindings, {adapterName, false});
    if (after.size() != 1)
        return {NamedAssignmentOutcome::NotTaken,
                quoted(adapterName) + " is no longer listed once after the renumbering" + why,
                bindings};
    const std::string& lanaText = after.front()->lana;
    if (!showsLana0(lanaText))
        return {NamedAssignmentOutcome::NotTaken,
                quoted(adapterName) + " still shows LANA " + quoted(lanaText) + why, bindings};
    return {NamedAssignmentOutcome::Assigned, quoted(adapterName) + " is on LANA 0", bindings};
}

} // namespace quorvel
