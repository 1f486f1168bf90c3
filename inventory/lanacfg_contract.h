#pragma once

#include <string>
#include <string_view>

namespace quorvel {

// The contract with the outside lanacfg tool: what the utility says to it and what it reads back.

inline constexpr std::string_view kReportFileName = "lanapaths.txt";

// Markers of the three line shapes of the binding report; all compared with exact case.
inline constexpr std::string_view kLanaMarker = "Lana:";
inline constexpr std::string_view kNetBEUIMarker = "-->NetBEUI Protocol-->";
inline constexpr std::string_view kWanMarker = "WAN";

// "cmd /c lanacfg showlanapaths >lanapaths.txt": run through the command interpreter,
// whose redirection writes the tool's report into the report file.
std::string reportCommand();

// "lanacfg setlananumber <LANA text> 0", the LANA text unchanged. Only a number may go in: one
// to three digits with blanks (spaces, tabs) around them, or nothing at all (the LANA list's
// row -1). Any other text throws OperationError, quoting it, before a command exists: a
// batch-file lanacfg would have cmd.exe read its arguments as commands.
std::string renumberCommand(std::string_view lanaText);

} // namespace quorvel
