#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// The words of a command line as a Windows program's C runtime would see them (quotes
// group, backslashes escape only before a quote): the rule by which command lines are
// written, whatever system runs them.
std::vector<std::string> splitWindowsCommandLine(std::string_view commandLine);

// A command line as a message shows it: a NUL, which would end the message there, is written
// "<NUL>".
std::string commandLineForMessages(std::string_view commandLine);

// REST when the command line reads "cmd /c REST" ("cmd" and "/c" in any case), else nothing.
std::optional<std::string> interpreterCommand(std::string_view commandLine);

} // namespace quorvel
