#pragma once

#include <string>

namespace quorvel {

// Runs one command line with no visible window and returns once it has ended.
// The command's exit status is deliberately not reported: success or failure of the
// tool shows only in the next binding report. Throws OperationError when the command
// cannot be started at all.
class CommandRunner {
public:
    virtual ~CommandRunner() = default;
    virtual void run(const std::string& commandLine) = 0;
};

} // namespace quorvel
