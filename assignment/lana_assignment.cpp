#include "lana_assignment.h"

#include "inventory/system_interfaces.h"
#include "inventory/adapter_list.h"
#include "inventory/binding_inventory.h"
#include "inventory/lanacfg_contract.h"
#include "inventory/plain_adapter_list.h"

#include <string_view>
#include <vector>

namespace quorvel {

namespace {

std::vector<int> rowsNamed(const PlainAdapterList& lstCard, const std::string& adapterName)
{
    std::vector<int> rows;
    for (int row = 0; row < lstCard.rowCount(); ++row) {
        if (lstCard.rowText(row) == adapterName)
            rows.push_back(row);
    }
    return rows;
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

void SetLANAO(const AdapterList& lstLANA, const AdapterList& lstCard, CommandRunner& runner,
              MessageDialog& messageDialog)
{
    if (lstCard.rowCount() == 0) {
        messageDialog.show(kNoCardText, kNoCardTitle, MessageKind::Plain);
        return;
    }
    // Only the card list's highlight counts. With none, the LANA list yields empty text
    // and the tool itself turns the command down; the refresh then shows nothing changed.
    const std::string lanaText = lstLANA.rowText(lstCard.highlightedRow());
    runner.run(renumberCommand(lanaText));
}

NamedAssignmentResult assignLana0ByName(const std::string& adapterName, PlainAdapterList& lstLANA,
                                        PlainAdapterList& lstCard, CommandRunner& runner,
                                        ReportFiles& files, std::chrono::seconds timeLimit)
{
    BindingInventory inventory(lstLANA, lstCard);

    inventory.GetLANAInfo(runner, files, timeLimit);
    const std::vector<int> rows = rowsNamed(lstCard, adapterName);
    if (rows.empty())
        return {NamedAssignmentOutcome::NotListed,
                "no adapter named " + quoted(adapterName) + " is listed"};
    if (rows.size() > 1) {
        std::string lanas;
        for (const int row : rows)
            lanas += (lanas.empty() ? "" : ", ") + quoted(lstLANA.rowText(row));
        return {NamedAssignmentOutcome::Ambiguous, "more than one adapter is named " +
                                                       quoted(adapterName) + ", on LANAs " + lanas};
    }

    const std::string failure = renumber(lstLANA.rowText(rows.front()), runner, timeLimit);

    inventory.GetLANAInfo(runner, files, timeLimit);
    const std::string why = failure.empty() ? "" : ": " + failure;
    const std::vector<int> after = rowsNamed(lstCard, adapterName);
    if (after.size() != 1)
        return {NamedAssignmentOutcome::NotTaken,
                quoted(adapterName) + " is no longer listed once after the renumbering" + why};
    const std::string lanaText = lstLANA.rowText(after.front());
    if (!showsLana0(lanaText))
        return {NamedAssignmentOutcome::NotTaken,
                quoted(adapterName) + " still shows LANA " + quoted(lanaText) + why};
    return {NamedAssignmentOutcome::Assigned, quoted(adapterName) + " is on LANA 0"};
}

} // namespace quorvel
