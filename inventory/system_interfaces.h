#pragma once

#include "inventory/operation_error.h"
#include "inventory/report_encoding.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace quorvel {

// What the shared rules need of the system, which each operating system implements and tests
// replace with fakes: the command runner, the report files and the renumbering lock. Each
// throws OperationError when it fails.

// How a command that was started came to an end.
struct CommandOutcome {
    enum class End {
        Exited,              // value: its exit status
        Signalled,           // value: the signal that ended it
        TimedOutStopped,     // value: the seconds it was given; it was ended
        TimedOutLeftRunning, // value: the seconds it was given; it goes on by itself
    };

    End end = End::Exited;
    std::int64_t value = 0;

    bool succeeded() const { return end == End::Exited && value == 0; }
    // How it ended, to follow the command's name: "exited with status 1", ...
    std::string description() const;
};

// What a runner with a time limit does with a command still running when the time is up.
enum class OnTimeout {
    Stop,         // end it and everything it started
    LeaveRunning, // stop waiting; it may be halfway through a change that must not be cut short
};

struct TimeLimit {
    std::chrono::seconds after;
    OnTimeout action;
};

// How a command interpreter tells that it found no program to run: the status it ends with,
// and where it looked, in words that follow "looked in".
struct ProgramNotFound {
    std::int64_t status;
    std::string_view whereLooked;
};

// Runs one command line with no visible window and returns once it has ended, or, given a
// time limit, once the limit has passed. The window looks at the outcome only to say how a
// failed command ended: what the tool changed shows in the next binding report. Throws
// OperationError when the command cannot be started at all.
class CommandRunner {
public:
    virtual ~CommandRunner() = default;
    // Overriders keep the same default: no limit.
    virtual CommandOutcome run(const std::string& commandLine,
                               std::optional<TimeLimit> limit = std::nullopt) = 0;
    // How the interpreter that runs "cmd /c ..." ends when it finds no such program, so that
    // an empty report from it is not taken for a machine without NetBEUI.
    virtual ProgramNotFound interpreterNotFound() const = 0;
};

// A report file open for reading, its bytes as the report command wrote them.
class OpenReportFile {
public:
    virtual ~OpenReportFile() = default;
    // Its size now; a file still being written may grow past it.
    virtual std::uintmax_t size() = 0;
    // Reads the next bytes into `into`, at most `room` of them; 0 at the end of the file.
    virtual std::size_t read(char* into, std::size_t room) = 0;
};

// One run's turn at taking its report in a folder, given up when this object goes.
class ReportFolderTurn {
public:
    virtual ~ReportFolderTurn() = default;
};

// The report file that the report command writes. Every operation throws OperationError
// naming the file and the system's reason when it fails; readReport reads it.
class ReportFiles {
public:
    virtual ~ReportFiles() = default;

    // Waits, as long as it takes, until no other Quorvel of this user (on Windows, of this
    // session) takes its report in the folder of the report at path, and keeps them out until
    // the turn goes: otherwise one run's report command could replace the file another is about
    // to read. Nothing where no other run can be, as in a run's own folder.
    virtual std::unique_ptr<ReportFolderTurn> takeFolderTurn(const std::string& /*path*/)
    {
        return nullptr;
    }

    // Removes whatever non-folder entry is at path (a report left from before, a link), so
    // that only the coming report command can put a file there; nothing when there is none.
    // Throws when the name is still there afterwards (a file another program holds open).
    virtual void removeLeftover(const std::string& path) = 0;
    // Refuses, without blocking on it or following a link, anything but a regular file.
    virtual std::unique_ptr<OpenReportFile> open(const std::string& path) = 0;
    virtual void remove(const std::string& path) = 0;
    // The file's name as messages give it: as the user would find it.
    virtual std::string shownName(const std::string& path) = 0;
    // The system's narrow encoding, which a UTF-16 report is converted to.
    virtual NarrowFromUtf16 narrowEncoding() const = 0;
};

// Makes the renumbering cycles of every Quorvel of this user (on Windows, of the machine) take
// turns: a cycle that reads a LANA and renumbers it must not act on a list another cycle has
// just made stale. Reports alone take no turn. The commands run while it is held hold it too,
// so that one left running keeps the next cycle waiting until it has ended.
class RenumberingLock {
public:
    virtual ~RenumberingLock() = default;
    // Waits for the turn, at most `wait` (with none, as long as it takes). Throws
    // OperationError when the wait ran out or the lock cannot be had at all.
    virtual void acquire(std::optional<std::chrono::seconds> wait) = 0;
    virtual void release() noexcept = 0;
};

// Holds the lock for one renumbering cycle, released however the cycle ends.
class RenumberingTurn {
public:
    RenumberingTurn(RenumberingLock& lock, std::optional<std::chrono::seconds> wait) : lock_(lock)
    {
        lock_.acquire(wait);
    }
    ~RenumberingTurn() { lock_.release(); }
    RenumberingTurn(const RenumberingTurn&) = delete;
    RenumberingTurn& operator=(const RenumberingTurn&) = delete;

private:
    RenumberingLock& lock_;
};

} // namespace quorvel
