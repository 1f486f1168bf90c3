#pragma once

#include "inventory/system_interfaces.h"

namespace quorvel {

// Runs command lines as child processes on POSIX systems: no window, waits for the end.
// There is no cmd here: "cmd /c REST" runs REST through /bin/sh -c, in no-clobber mode so
// that its redirection never opens an existing file. Every other command line is split by
// the Windows command-line rules and started directly, never through a shell, its program
// found on PATH as the shell finds it.
class PosixCommandRunner : public CommandRunner {
public:
    CommandOutcome run(const std::string& commandLine,
                       std::optional<TimeLimit> limit = std::nullopt) override;
};

} // namespace quorvel
