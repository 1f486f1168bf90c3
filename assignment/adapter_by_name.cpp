#include "adapter_by_name.h"

#include "assignment/lana_assignment.h"
#include "assignment/message_box.h"
#include "inventory/binding_inventory.h"
#include "inventory/plain_adapter_list.h"

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

// The assignment only shows its warning for an empty card list, which never reaches it here.
class UnreachableMessageBox : public MessageBox {
public:
    void show(const std::string& /*text*/, const std::string& /*title*/) override {}
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
    UnreachableMessageBox messageBox;
    SetLANAO(lstLANA, lstCard, runner, messageBox);

    inventory.GetLANAInfo(runner, files);
    const std::vector<int> after = rowsNamed(lstCard, adapterName);
    if (after.size() != 1)
        return {NamedAssignmentOutcome::NotTaken,
                quoted(adapterName) + " is no longer listed once after the renumbering"};
    const std::string lanaText = lstLANA.rowText(after.front());
    if (lanaText != "0")
        return {NamedAssignmentOutcome::NotTaken,
                quoted(adapterName) + " still shows LANA " + quoted(lanaText)};
    return {NamedAssignmentOutcome::Assigned, quoted(adapterName) + " is on LANA 0"};
}

} // namespace quorvel
