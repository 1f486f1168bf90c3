#pragma once

#include <csignal>
#include <sys/types.h>

namespace quorvel {

// For the options for scripts: from now on SIGINT, SIGTERM and SIGHUP (each unless ignored
// when the program started, as a shell expects) end the report command's process group,
// remove the report file, and then end the program as that signal ends it.
void endRunsCleanlyOnSignals();

// Holds those signals back while a report command starts, until its process group is noted,
// so that none slips between the two.
class ReportCommandStart {
public:
    ReportCommandStart();
    ~ReportCommandStart();
    ReportCommandStart(const ReportCommandStart&) = delete;
    ReportCommandStart& operator=(const ReportCommandStart&) = delete;

    // The signal mask from before, which the command itself must have again.
    const sigset_t& maskBefore() const { return before_; }

private:
    sigset_t before_{};
};

// The process group of the report command running now, 0 for none.
void noteReportCommandGroup(pid_t group);

// The folder of a script's report, which a signal removes too; nullptr once it is gone.
void noteReportFolder(const char* folder);

} // namespace quorvel
