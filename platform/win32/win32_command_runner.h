#pragma once

#include "inventory/system_interfaces.h"

namespace quorvel {

// Runs command lines on Windows with CreateProcessW: the command line goes to the system
// exactly as composed, with no console window, and the run is waited for. "cmd /c ..." runs
// the system's own cmd.exe; any other command's program is found as cmd.exe would find it
// (current folder, then PATH, with PATHEXT) and named as the application, so that both of
// lanacfg's commands reach the same program.
class Win32CommandRunner : public CommandRunner {
public:
    CommandOutcome run(const std::string& commandLine,
                       std::optional<TimeLimit> limit = std::nullopt) override;
};

} // namespace quorvel
