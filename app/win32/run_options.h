#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace quorvel {

// The options for scripts (--list, --set, --help, --version, ...) with the Win32 runner and
// report files, the list written to `output` and messages to `errors` (either may be null:
// nowhere to write). Returns the exit status.
int runOptions(const std::vector<std::string>& arguments, HANDLE output, HANDLE errors);

} // namespace quorvel
