#include "renumber_by_name.h"

#include "assignment/lana_assignment.h"
#include "assignment/message_dialog.h"
#include "inventory/binding_inventory.h"
#include "inventory/command_runner.h"
#include "inventory/operation_error.h"
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

// Notes how the renumbering ended. A command that cannot even start is, for a script, a
// renumbering that did not take, not a report that could not be had.
class RenumberingWitness : public CommandRunner {
public:
    explicit RenumberingWitness(CommandRunner& runner) : runner_(runner) {}

    CommandOutcome run(const std::string& commandLine) override
    {
        try {
            const CommandOutcome outcome = runner_.run(commandLine);
            if (!outcome.succeeded())
                failure_ = "the renumbering command " + quoted(commandLine) + " "
                    + outcome.description();
            return outcome;
        } catch (const OperationError& error) {
            failure_ = error.what();
            return {};
        }
    }

    // Empty when the renumbering command ended with success.
    const std::string& failure() const { return failure_; }

private:
    CommandRunner& runner_;
    std::string failure_;
};

// The assignment only shows its warning for an empty card list, which never reaches it here.
class UnreachableMessageDialog : public MessageDialog {
public:
    void show(const std::string& /*text*/, const std::string& /*title*/,
              MessageKind /*kind*/) override
    {
    }
};

} // namespace

NamedAssignmentResult assignLana0ByName(const std::string& adapterName, PlainAdapterList& lstLANA,
                                        PlainAdapterList& lstCard, CommandRunner& runner,
                                        ReportFiles& files)
{
    BindingInventory inventory(lstLANA, lstCard);

    inventory.GetLANAInfo(runner, files);
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

    lstCard.highlight(rows.front());
    RenumberingWitness witness(runner);
    UnreachableMessageDialog messageDialog;
    SetLANAO(lstLANA, lstCard, witness, messageDialog);

    inventory.GetLANAInfo(runner, files);
    const std::string why = witness.failure().empty() ? "" : ": " + witness.failure();
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
