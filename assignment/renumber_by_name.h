#pragma once

#include <string>

namespace quorvel {

class CommandRunner;
class PlainAdapterList;
class ReportFiles;

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
// user's eyes. A renumbering command that failed or could not start is named in the
// NotTaken message. The lists are left holding the latest refresh. Errors of the refreshes
// propagate as OperationError.
NamedAssignmentResult assignLana0ByName(const std::string& adapterName, PlainAdapterList& lstLANA,
                                        PlainAdapterList& lstCard, CommandRunner& runner,
                                        ReportFiles& files);

} // namespace quorvel
