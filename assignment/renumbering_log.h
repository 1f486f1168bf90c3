#pragma once

#include <optional>
#include <string>

namespace quorvel {

// Who asked for the renumbering.
enum class RenumberingProgram { Window, Options };

// How one attempt to give an adapter LANA 0 ended.
enum class RenumberingResult {
    Renumbered,     // the command ran and ended with success
    AlreadyOnLana0, // nothing to do: the adapter shows LANA 0 already
    Refused,        // nothing ran: a LANA text that is no number, a list that went stale
    Failed,         // the command failed, could not start, or was still running at its limit
};

// One attempt, as the system's log keeps it. Texts are the report's bytes and the messages'
// own words; the log adds the user and the time.
struct RenumberingRecord {
    RenumberingResult result;
    RenumberingProgram program;
    std::string adapterName;
    std::string lanaBefore;
    std::optional<std::string> lanaAfter; // as the refresh after it listed it, when known
    std::string command;                  // as composed; empty when none ran
    std::string commandEnd; // how it ended ("exited with status 0"), or why nothing ran
};

// The system's log of renumberings. Throws OperationError when the entry cannot be written;
// callers report that and never let it change an outcome or an exit status.
class RenumberingLog {
public:
    virtual ~RenumberingLog() = default;
    virtual void record(const RenumberingRecord& record) = 0;
};

} // namespace quorvel
