#pragma once

#include "inventory/command_runner.h"

namespace quorvel {

// Runs command lines as child processes: no window, no console, waits for the end.
// On Windows the command line goes to the system unchanged. Elsewhere "cmd /c REST" runs
// REST through /bin/sh -c, and every other command line is split by the Windows
// command-line rules and started directly, never through a shell.
class ProcessCommandRunner : public CommandRunner {
public:
    void run(const std::string& commandLine) override;
};

} // namespace quorvel
