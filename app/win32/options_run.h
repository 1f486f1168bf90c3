#pragma once

#include <string>
#include <vector>
#include <windows.h>

namespace quorvel {

// The arguments after the program's name, as typed: read from the UTF-16 command line, which
// the C runtime's arguments would give converted to the ANSI code page with a look-alike or a
// '?' for every character it lacks.
std::vector<std::wstring> commandLineArguments();

// The options for scripts (--list, --set, --help, --version, ...) with the Win32 runner and
// report files, the list written to `output` and messages to `errors` (either may be null:
// nowhere to write, which fails the list). Each argument must convert to the ANSI code page
// exactly, as the report's names are compared in it; one that does not is a wrong command
// line, and nothing runs. Returns the exit status.
int runOptions(const std::vector<std::wstring>& arguments, HANDLE output, HANDLE errors);

} // namespace quorvel
