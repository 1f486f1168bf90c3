#pragma once

#include <string>

namespace quorvel {

// The program CreateProcessW is to start for a command line, named as its application so
// that CreateProcessW's own search (the program's folder and the system folders first) never
// decides it: the system's cmd.exe for "cmd /c ...", else the command's first word found as
// cmd.exe finds a program. Throws OperationError naming the command line when there is none.
std::wstring applicationName(const std::string& commandLine);

} // namespace quorvel
