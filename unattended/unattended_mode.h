#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace quorvel {

class CommandRunner;
class ReportFiles;

// The options for scripts (--list, --set, --timeout, --help, --version), given the arguments
// after the program's name (at least one: with none the window opens instead). Every command
// runs under the --timeout limit. The list goes to `out` byte for byte, messages to `err`
// one line each; returns the exit status.
int runUnattended(const std::vector<std::string>& arguments, const std::string& version,
                  CommandRunner& runner, ReportFiles& files, std::ostream& out, std::ostream& err);

} // namespace quorvel
