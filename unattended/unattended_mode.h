#pragma once

#include "inventory/command_runner.h"

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace quorvel {

class ReportFiles;

// What the options for scripts use of the platform.
struct UnattendedServices {
    std::function<std::unique_ptr<CommandRunner>(TimeLimit limit)> makeRunner;
    std::function<std::unique_ptr<ReportFiles>()> makeReportFiles;
};

// The options for scripts (--list, --set, --timeout, --help, --version), given the arguments
// after the program's name (at least one: with none the window opens instead). The list goes
// to `out` byte for byte, messages to `err` one line each; returns the exit status.
int runUnattended(const std::vector<std::string>& arguments, const std::string& version,
                  const UnattendedServices& services, std::ostream& out, std::ostream& err);

} // namespace quorvel
