#pragma once

#include "inventory/command_runner.h"
#include "unattended/unattended_mode.h"

#include <chrono>

namespace quorvel {

// Runs the commands of an unattended run, each under the time limit the script gave. A
// report command that does not end with success is an error: its empty or partial report
// would pass for the machine's bindings. A renumbering command still running at the limit
// is left to finish, since it may be halfway through its change.
class ScriptCommandRunner : public CommandRunner {
public:
    ScriptCommandRunner(const UnattendedServices& services, std::chrono::seconds timeout);
    CommandOutcome run(const std::string& commandLine) override;

private:
    const UnattendedServices& services_;
    std::chrono::seconds timeout_;
};

} // namespace quorvel
