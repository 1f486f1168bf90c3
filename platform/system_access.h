#pragma once

#include "inventory/system_interfaces.h"

namespace quorvel {

// The command runner and the report files of the operating system built for, one
// implementation in platform/posix and one in platform/win32; the build picks one.

// Runs command lines with no window and waits for their end. Both of lanacfg's commands reach
// the same program: "cmd /c REST" goes to the system's command interpreter, any other command
// line is started directly, its program found as that interpreter would find it.
class SystemCommandRunner : public CommandRunner {
public:
    CommandOutcome run(const std::string& commandLine,
                       std::optional<TimeLimit> limit = std::nullopt) override;
    // On Windows: the user is not in the Administrators group. Elsewhere the stand-in needs
    // no rights: false.
    bool lacksAdministratorRights() const override;
};

// The report file on the system's disk, read as the bytes the report command wrote, with the
// same limits and refusals on every system.
class SystemReportFiles : public ReportFiles {
public:
    void removeLeftover(const std::string& path) override;
    ReportLineTable readLines(const std::string& path, std::uintmax_t maxBytes) override;
    void remove(const std::string& path) override;
};

} // namespace quorvel
