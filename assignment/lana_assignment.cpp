#include "lana_assignment.h"

#include "inventory/ascii_text.h"
#include "inventory/lanacfg_contract.h"
#include "inventory/system_interfaces.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace quorvel {

namespace {

// Why nothing ran, in the system's log.
constexpr const char* kBindingsChangedReason =
    "the bindings changed since they were listed, so the row no longer stands for the adapter";
constexpr const char* kAlreadyOnLana0Reason = "it shows LANA 0 already";

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

// How the renumbering command ran, for the log, and how it failed, empty when it ended with
// success.
struct Renumbering {
    std::string command;
    std::string end;
    std::string failure;
};

// Runs the renumbering command. A command that cannot even start is a renumbering that did not
// take, not a report that could not be had. A user whom the system does not let renumber is
// told that this is the likely cause. A LANA text that is not a number throws OperationError:
// no renumbering that failed but a report that cannot be trusted.
Renumbering renumber(const std::string& lanaText, CommandRunner& runner,
                     std::optional<TimeLimit> limit, bool userMayRenumber)
{
    Renumbering renumbering{renumberCommand(lanaText), {}, {}};
    try {
        const CommandOutcome outcome = runner.run(renumbering.command, limit);
        renumbering.end = outcome.description();
        if (outcome.succeeded())
            return renumbering;
        renumbering.failure =
            "the renumbering command " + quoted(renumbering.command) + " " + renumbering.end;
    } catch (const OperationError& error) {
        renumbering.end = std::string("could not start: ") + error.what();
        renumbering.failure = error.what();
    }
    if (!userMayRenumber)
        renumbering.failure += "; changing LANA numbers needs an administrator, for example a "
                               "computer start-up script or psexec -s";
    return renumbering;
}

// The record of an attempt on `binding` that ran no command.
RenumberingRecord refusal(const Binding& binding, RenumberingProgram program, std::string why)
{
    return {RenumberingResult::Refused,
            program,
            binding.adapterName,
            binding.lana,
            std::nullopt,
            {},
            std::move(why)};
}

// A script's run that ran nothing, as the rules refused the adapter's LANA text.
NamedAssignmentResult refusedByName(const Binding& binding, const std::vector<Binding>& bindings,
                                    const char* why)
{
    return {NamedAssignmentOutcome::Refused,
            why,
            bindings,
            {},
            refusal(binding, RenumberingProgram::Options, why)};
}

RenumberingRecord alreadyOnLana0(const Binding& binding)
{
    return {RenumberingResult::AlreadyOnLana0,
            RenumberingProgram::Options,
            binding.adapterName,
            binding.lana,
            binding.lana,
            {},
            kAlreadyOnLana0Reason};
}

// The one binding that `choice` names and that needs renumbering, or the result that says why
// none does: no adapter or more than one is named, or the one named shows LANA 0 already.
std::variant<const Binding*, NamedAssignmentResult>
bindingToRenumber(const std::vector<Binding>& bindings, const AdapterChoice& choice)
{
    const std::vector<const Binding*> chosen = bindingsChosen(bindings, choice);
    if (chosen.empty()) {
        const std::string what = choice.isPattern
                                     ? "no listed adapter matches " + quoted(choice.text)
                                     : "no adapter named " + quoted(choice.text) + " is listed";
        return NamedAssignmentResult{NamedAssignmentOutcome::NotListed,
                                     what + (bindings.empty() ? "; no adapter is listed at all"
                                                              : "; the listed adapters are:"),
                                     bindings, namesOf(bindingsChosen(bindings, {"*", true}))};
    }
    if (chosen.size() == 1) {
        const Binding& binding = *chosen.front();
        if (!showsLana0(binding.lana))
            return &binding;
        return NamedAssignmentResult{NamedAssignmentOutcome::Assigned,
                                     quoted(binding.adapterName) + " is on LANA 0",
                                     bindings,
                                     {},
                                     alreadyOnLana0(binding)};
    }
    if (choice.isPattern)
        return NamedAssignmentResult{NamedAssignmentOutcome::Ambiguous,
                                     "more than one listed adapter matches " + quoted(choice.text) +
                                         ":",
                                     bindings, namesOf(chosen)};
    std::string lanas;
    for (const Binding* binding : chosen)
        lanas += (lanas.empty() ? "" : ", ") + quoted(binding->lana);
    return NamedAssignmentResult{
        NamedAssignmentOutcome::Ambiguous,
        "more than one adapter is named " + quoted(choice.text) + ", on LANAs " + lanas, bindings};
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
    const Binding binding = rowHighlighted ? shown[row] : Binding{};
    if (rowHighlighted && std::find(listed.begin(), listed.end(), binding) == listed.end())
        return {Assignment::Outcome::BindingsChanged,
                {},
                refusal(binding, RenumberingProgram::Window, kBindingsChangedReason)};
    Renumbering renumbering;
    try {
        renumbering = renumber(binding.lana, runner, std::nullopt, userMayRenumber);
    } catch (const OperationError& error) {
        return {Assignment::Outcome::LanaNotANumber, error.what(),
                refusal(binding, RenumberingProgram::Window, error.what())};
    }
    const bool done = renumbering.failure.empty();
    return {done ? Assignment::Outcome::Done : Assignment::Outcome::RenumberingFailed,
            renumbering.failure,
            RenumberingRecord{done ? RenumberingResult::Renumbered : RenumberingResult::Failed,
                              RenumberingProgram::Window, binding.adapterName, binding.lana,
                              std::nullopt, renumbering.command, renumbering.end}};
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
    auto chosen = bindingToRenumber(bindings, choice);
    if (auto* result = std::get_if<NamedAssignmentResult>(&chosen))
        return std::move(*result);
    // From here on the adapter is the one listed under this name.
    const Binding binding = *std::get<const Binding*>(chosen);

    Renumbering renumbering;
    try {
        renumbering = renumber(binding.lana, runner, TimeLimit{timeLimit, OnTimeout::LeaveRunning},
                               userMayRenumber);
    } catch (const OperationError& error) {
        return refusedByName(binding, bindings, error.what());
    }
    RenumberingRecord attempt{RenumberingResult::Failed,
                              RenumberingProgram::Options,
                              binding.adapterName,
                              binding.lana,
                              std::nullopt,
                              renumbering.command,
                              renumbering.end};

    try {
        bindings = bindingsFromReportCommand(runner, files, timeLimit);
    } catch (...) {
        // No check: how the command ended is all there is to tell.
        if (renumbering.failure.empty())
            attempt.result = RenumberingResult::Renumbered;
        return {
            NamedAssignmentOutcome::Unchecked, describeCurrentError(), {}, {}, std::move(attempt)};
    }
    const std::string why = renumbering.failure.empty() ? "" : ": " + renumbering.failure;
    const std::vector<const Binding*> after =
        bindingsChosen(bindings, {binding.adapterName, false});
    if (after.size() != 1)
        return {NamedAssignmentOutcome::NotTaken,
                quoted(binding.adapterName) + " is no longer listed once after the renumbering" +
                    why,
                bindings,
                {},
                std::move(attempt)};
    const std::string& lanaText = after.front()->lana;
    attempt.lanaAfter = lanaText;
    if (!showsLana0(lanaText))
        return {NamedAssignmentOutcome::NotTaken,
                quoted(binding.adapterName) + " still shows LANA " + quoted(lanaText) + why,
                bindings,
                {},
                std::move(attempt)};
    attempt.result = RenumberingResult::Renumbered;
    return {NamedAssignmentOutcome::Assigned,
            quoted(binding.adapterName) + " is on LANA 0",
            bindings,
            {},
            std::move(attempt)};
}

NamedAssignmentResult previewLana0ByName(const AdapterChoice& choice, CommandRunner& runner,
                                         ReportFiles& files, std::chrono::seconds timeLimit)
{
    std::vector<Binding> bindings = bindingsFromReportCommand(runner, files, timeLimit);
    auto chosen = bindingToRenumber(bindings, choice);
    if (auto* result = std::get_if<NamedAssignmentResult>(&chosen))
        return std::move(*result);
    const Binding binding = *std::get<const Binding*>(chosen);
    try {
        return {NamedAssignmentOutcome::Assigned,
                quoted(binding.adapterName) + " would be given LANA 0",
                bindings,
                {},
                RenumberingRecord{RenumberingResult::Renumbered,
                                  RenumberingProgram::Options,
                                  binding.adapterName,
                                  binding.lana,
                                  std::nullopt,
                                  renumberCommand(binding.lana),
                                  {}}};
    } catch (const OperationError& error) {
        return refusedByName(binding, bindings, error.what());
    }
}

} // namespace quorvel
