#include "lana_assignment.h"

#include "inventory/lanacfg_contract.h"
#include "inventory/system_interfaces.h"

#include <string_view>
#include <vector>

namespace quorvel {

namespace {

std::vector<const Binding*> bindingsNamed(const std::vector<Binding>& bindings,
                                          const std::string& adapterName)
{
    std::vector<const Binding*> named;
    for (const Binding& binding : bindings) {
        if (binding.adapterName == adapterName)
            named.push_back(&binding);
    }
    return named;
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
// command that cannot even start is, for a script, a renumbering that did not take, not a
// report that could not be had.
std::string renumber(const std::string& lanaText, CommandRunner& runner,
                     std::chrono::seconds timeLimit)
{
    const std::string command = renumberCommand(lanaText);
    try {
        const CommandOutcome outcome =
            runner.run(command, TimeLimit{timeLimit, OnTimeout::LeaveRunning});
        if (outcome.succeeded())
            return {};
        return "the renumbering command " + quoted(command) + " " + outcome.description();
    } catch (const OperationError& error) {
        return error.what();
    }
}

} // namespace

void assignLana0(const std::vector<Binding>& bindings, int highlightedRow, CommandRunner& runner,
                 MessageDialog& messageDialog)
{
    if (bindings.empty()) {
        messageDialog.show(kNoCardText, kNoCardTitle, MessageKind::Plain);
        return;
    }
    // With no row highlighted the LANA text is empty and the tool itself turns the command
    // down; the refresh then shows nothing changed.
    const auto row = static_cast<std::size_t>(highlightedRow);
    const std::string lanaText = highlightedRow >= 0 && row < bindings.size() ? bindings[row].lana : "";
    runner.run(renumberCommand(lanaText));
}

NamedAssignmentResult assignLana0ByName(const std::string& adapterName, CommandRunner& runner,
                                        ReportFiles& files, std::chrono::seconds timeLimit)
{
    BindingInventory inventory;
    // The inventory's own list, which each refresh renews.
    const std::vector<Binding>& bindings = inventory.GetLANAInfo(runner, files, timeLimit);
    const std::vector<const Binding*> named = bindingsNamed(bindings, adapterName);
    if (named.empty())
        return {NamedAssignmentOutcome::NotListed,
                "no adapter named " + quoted(adapterName) + " is listed", bindings};
    if (named.size() > 1) {
        std::string lanas;
        for (const Binding* binding : named)
            lanas += (lanas.empty() ? "" : ", ") + quoted(binding->lana);
        return {NamedAssignmentOutcome::Ambiguous,
                "more than one adapter is named " + quoted(adapterName) + ", on LANAs " + lanas,
                bindings};
    }

    const std::string failure = renumber(named.front()->lana, runner, timeLimit);

    inventory.GetLANAInfo(runner, files, timeLimit);
    const std::string why = failure.empty() ? "" : ": " + failure;
    const std::vector<const Binding*> after = bindingsNamed(bindings, adapterName);
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
