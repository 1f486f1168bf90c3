#pragma once

#include "inventory/command_outcome.h"

#include <chrono>
#include <optional>
#include <string>

namespace quorvel {

// What a runner with a time limit does with a command still running when the time is up.
enum class OnTimeout {
    Stop,         // end it and everything it started
    LeaveRunning, // stop waiting; it may be halfway through a change that must not be cut short
};

struct TimeLimit {
    std::chrono::seconds after;
    OnTimeout action;
};

// Runs one command line with no visible window and returns once it has ended, or, given a
// time limit, once the limit has passed. The window never looks at the outcome: success or
// failure of the tool shows only in the next binding report. Throws OperationError when the
// command cannot be started at all.
class CommandRunner {
public:
    virtual ~CommandRunner() = default;
    // Overriders keep the same default: no limit.
    virtual CommandOutcome run(const std::string& commandLine,
                               std::optional<TimeLimit> limit = std::nullopt) = 0;
};

} // namespace quorvel
