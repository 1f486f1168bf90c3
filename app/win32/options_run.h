#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace quorvel {

// The options for scripts (--list, --set, --help, --version, ...) with the Win32 runner and
// report files, the list written to `output` and messages to `errors` (either may be null:
// nowhere to write, which fails the list). The arguments come as typed, in UTF-16: the C
// runtime's narrow ones would hold a look-alike or a '?' for each character that the ANSI code
// page lacks, and a '?' matches any character of a name. Each must convert to the code page
// exactly, as the report's names are compared in it; one that does not is a wrong command
// line, and nothing runs. Returns the exit status.
int runOptions(const std::vector<std::wstring>& arguments, HANDLE output, HANDLE errors);

} // namespace quorvel
