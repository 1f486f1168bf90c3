#pragma once

#include <chrono>
#include <string>

namespace quorvel {

class AdapterList;
class CommandRunner;
class MessageDialog;
class PlainAdapterList;
class ReportFiles;

inline constexpr const char* kNoCardText = "No Network-Card installed or NetBEUI not installed";
inline constexpr const char* kNoCardTitle = "Warning";

// Gives the adapter highlighted in lstCard LANA number 0 by running the renumbering
// command for the LANA text beside it; warns instead when lstCard is empty. Whether the
// renumbering took is left for the next refresh to show.
void SetLANAO(const AdapterList& lstLANA, const AdapterList& lstCard, CommandRunner& runner,
              MessageDialog& messageDialog);

enum class NamedAssignmentOutcome {
    Assigned,  // the adapter now shows LANA 0
    NotListed, // no listed adapter has that name
    Ambiguous, // more than one listed adapter has that name
    NotTaken,  // the renumbering was tried, but the adapter does not show LANA 0 afterwards
};

struct NamedAssignmentResult {
    NamedAssignmentOutcome outcome;
    std::string message;
};

// Gives the adapter listed under exactly this name (compared byte for byte) LANA 0, for
// scripts: a refresh, the same renumbering command the window runs, a second refresh, and
// then a check that the adapter now shows LANA text "0", which the window leaves to the
// user's eyes. Each command runs under the time limit; a renumbering command still running
// then is left to finish, since it may be halfway through its change. A renumbering command
// that failed or could not start is named in the NotTaken message. The lists are left
// holding the latest refresh. Errors of the refreshes propagate as OperationError.
NamedAssignmentResult assignLana0ByName(const std::string& adapterName, PlainAdapterList& lstLANA,
                                        PlainAdapterList& lstCard, CommandRunner& runner,
                                        ReportFiles& files, std::chrono::seconds timeLimit);

} // namespace quorvel
