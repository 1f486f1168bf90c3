#pragma once

#include <optional>

namespace quorvel {

// The options for scripts (--list, --set, --help, --version), handled with no window and
// without starting the GUI platform. Returns the exit status when the command line asked for
// one of them or was wrong, and nothing when it is empty and the window should start.
std::optional<int> runUnattended(int argc, char* argv[]);

} // namespace quorvel
