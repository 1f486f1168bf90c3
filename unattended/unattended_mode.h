#pragma once

#include "unattended/unattended_options.h"

#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

class ByteOutput;
class CommandRunner;
class RenumberingLock;
class RenumberingLog;
class ReportFiles;

// Exit statuses of the options for scripts, as the README lists them.
inline constexpr int kStatusDone = 0;
inline constexpr int kStatusNotTaken = 1;
inline constexpr int kStatusUsage = 2;
inline constexpr int kStatusNoReport = 3;
inline constexpr int kStatusListNotWritten = 4; // the adapter shows LANA 0 all the same

// What a run records of itself, in the system's places: each renumbering tried in the system's
// log, and with --log FILE one line on the run, appended to FILE and naming the computer and
// the user (the functions of platform/system_access.h). Each throws OperationError when it
// cannot; the run then says so on standard error, and its status stays.
struct RunRecords {
    RenumberingLog& renumberingLog;
    void (*appendLine)(const std::string& path, std::string_view line);
    std::string (*computerName)();
    std::string (*userName)();
};

// The options for scripts (--list, --set, --set-match, --dry-run, --log, --timeout, --help,
// --version), given the arguments after the program's name (at least one: with none the window
// opens instead), spelled as the system's own programs spell them. Every command runs under the
// --timeout limit, and --set and --set-match hold the renumbering lock, waited for as long (a
// dry run takes none). The list, the help or the version goes to `out` byte for byte, messages
// to `err` one line each, and after --set and --set-match's list the line that tells what was
// done; returns the exit status. userMayRenumber: whether the system lets this user change
// LANA numbers.
int runUnattended(const std::vector<std::string>& arguments, const std::string& version,
                  OptionStyle style, CommandRunner& runner, ReportFiles& files,
                  RenumberingLock& lock, bool userMayRenumber, const RunRecords& records,
                  ByteOutput& out, ByteOutput& err);

} // namespace quorvel
