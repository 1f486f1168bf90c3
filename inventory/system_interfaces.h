#pragma once

#include "inventory/report_line_table.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

namespace quorvel {

// What the shared rules need of the system, which each operating system and toolkit
// implements and tests replace with fakes: the error type, the command runner, the report
// files, the renumbering lock and the message box.

// An operation could not be carried out. The message says what failed (the file or
// command) and why, in words a user can act on; it is shown once, at the event boundary.
class OperationError : public std::runtime_error {
public:
    explicit OperationError(const std::string& message) : std::runtime_error(message) {}
};

// For use inside a catch block at an event boundary: what went wrong, in words for the user.
// Every error is caught there, so that none ends the program before the user is told.
std::string describeCurrentError();

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
    // True when the commands run for a user whom the system does not let change LANA numbers
    // (not an administrator), so that a failed renumbering can say so; false when unknown.
    virtual bool lacksAdministratorRights() const { return false; }
};

// The report file that the report command writes. Every operation throws OperationError
// naming the file and the system's reason when it fails.
class ReportFiles {
public:
    virtual ~ReportFiles() = default;

    // Removes whatever non-folder entry is at path (a report left from before, a link), so
    // that only the coming report command can put a file there; nothing when there is none.
    // Throws when the name is still there afterwards (a file another program holds open).
    virtual void removeLeftover(const std::string& path) = 0;
    // The file's lines. Refuses, without blocking on it, anything but a regular file, and a
    // file of more than maxBytes or with more lines than a report can have.
    virtual ReportLineTable readLines(const std::string& path, std::uintmax_t maxBytes) = 0;
    virtual void remove(const std::string& path) = 0;
};

// Makes the renumbering cycles of every Quorvel of this user (on Windows, of the machine) take
// turns: a cycle that reads a LANA and renumbers it must not act on a list another cycle has
// just made stale. Reports alone take no turn.
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

enum class MessageKind {
    Plain,   // no icon: the warning of an empty card list
    Error,   // the error icon: an error that ends the program
    Warning, // the warning icon: a change that did not take; the program goes on
};

// A modal message box with a single OK button; returns once the user has closed it. Texts
// may quote a report's bytes and are shown as plain text, decoded as the lists decode them.
class MessageDialog {
public:
    virtual ~MessageDialog() = default;
    virtual void show(const std::string& text, const std::string& title, MessageKind kind) = 0;
};

} // namespace quorvel
