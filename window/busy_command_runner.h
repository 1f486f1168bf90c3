#pragma once

#include "inventory/command_runner.h"

#include <string>

namespace quorvel {

// Shows the busy cursor for as long as each command of the wrapped runner holds the
// thread. Only the runs: a message box shown between them keeps the normal cursor.
class BusyCommandRunner : public CommandRunner {
public:
    explicit BusyCommandRunner(CommandRunner& runner) : runner_(runner) {}
    void run(const std::string& commandLine) override;

private:
    CommandRunner& runner_;
};

} // namespace quorvel
