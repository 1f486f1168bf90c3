#pragma once

namespace quorvel {

class AdapterList;
class CommandRunner;
class MessageDialog;

inline constexpr const char* kNoCardText = "No Network-Card installed or NetBEUI not installed";
inline constexpr const char* kNoCardTitle = "Warning";

// Gives the adapter highlighted in lstCard LANA number 0 by running the renumbering
// command for the LANA text beside it; warns instead when lstCard is empty. Whether the
// renumbering took is left for the next refresh to show.
void SetLANAO(const AdapterList& lstLANA, const AdapterList& lstCard, CommandRunner& runner,
              MessageDialog& messageDialog);

} // namespace quorvel
