#pragma once

#include "unattended/unattended_options.h"

#include <string>
#include <vector>

namespace quorvel {

class ByteOutput;
class CommandRunner;
class RenumberingLock;
class ReportFiles;

// Exit statuses of the options for scripts, as the README lists them.
inline constexpr int kStatusDone = 0;
inline constexpr int kStatusNotTaken = 1;
inline constexpr int kStatusUsage = 2;
inline constexpr int kStatusNoReport = 3;

// The options for scripts (--list, --set, --set-match, --timeout, --help, --version), given
// the arguments after the program's name (at least one: with none the window opens instead),
// spelled as the system's own programs spell them. Every command runs under the --timeout
// limit, and --set and --set-match hold the renumbering lock, waited for as long. The list, the
// help or the version goes to `out` byte for byte, messages to `err` one line each; returns the
// exit status. userMayRenumber: whether the system lets this user change LANA numbers.
int runUnattended(const std::vector<std::string>& arguments, const std::string& version,
                  OptionStyle style, CommandRunner& runner, ReportFiles& files,
                  RenumberingLock& lock, bool userMayRenumber, ByteOutput& out, ByteOutput& err);

} // namespace quorvel
