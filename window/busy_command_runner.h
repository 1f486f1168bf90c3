#pragma once

#include "inventory/command_runner.h"

#include <functional>
#include <string>

namespace quorvel {

// Tells the window that a tool run holds it, for as long as each command of the wrapped
// runner runs. Only the runs: a message box shown between them keeps the normal cursor.
class BusyCommandRunner : public CommandRunner {
public:
    BusyCommandRunner(CommandRunner& runner, std::function<void(bool running)> showToolRunning);
    CommandOutcome run(const std::string& commandLine) override;

private:
    CommandRunner& runner_;
    std::function<void(bool running)> showToolRunning_;
};

} // namespace quorvel
