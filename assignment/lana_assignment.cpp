#include "lana_assignment.h"

#include "assignment/message_dialog.h"
#include "inventory/adapter_list.h"
#include "inventory/command_runner.h"
#include "inventory/lanacfg_contract.h"

namespace quorvel {

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

} // namespace quorvel
