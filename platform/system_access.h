#pragma once

#include "assignment/renumbering_log.h"
#include "inventory/system_interfaces.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>

namespace quorvel {

// The command runner, the report files and the renumbering lock of the operating system built
// for, one implementation in platform/posix and one in platform/win32; the build picks one.

// A path as the system's own calls take it: bytes on POSIX, UTF-16 on Windows, the one system
// whose wchar_t, the unit of its wide calls, has 16 bits.
using SystemPath = std::conditional_t<sizeof(wchar_t) == 2, std::wstring, std::string>;

// A fresh folder of a script's run under the system's temporary folder, which only this user
// can write, for its report: made when first asked for, and removed with whatever is in it when
// this object goes, however the run ended. The window keeps to the current folder.
class PrivateReportFolder {
public:
    PrivateReportFolder() = default;
    ~PrivateReportFolder();
    PrivateReportFolder(const PrivateReportFolder&) = delete;
    PrivateReportFolder& operator=(const PrivateReportFolder&) = delete;

    // Throws OperationError when the folder cannot be made.
    const SystemPath& path();

private:
    SystemPath path_;
};

// Runs command lines with no window and waits for their end. Both of lanacfg's commands reach
// the same program: "cmd /c REST" goes to the system's command interpreter, any other command
// line is started directly, its program found as that interpreter would find it.
class SystemCommandRunner : public CommandRunner {
public:
    SystemCommandRunner() = default;
    // "cmd /c REST" runs in `reportFolder`; a current folder in its program search (an empty
    // PATH entry to sh, cmd's first place) still means this program's, as for other commands.
    explicit SystemCommandRunner(PrivateReportFolder& reportFolder) : reportFolder_(&reportFolder)
    {
    }

    CommandOutcome run(const std::string& commandLine,
                       std::optional<TimeLimit> limit = std::nullopt) override;
    // cmd.exe's on Windows, /bin/sh's elsewhere.
    ProgramNotFound interpreterNotFound() const override;

private:
    PrivateReportFolder* reportFolder_ = nullptr; // none: the current folder
};

// Whether the system lets this user change LANA numbers: on Windows a member of the
// Administrators group (or when that is unknown); elsewhere the stand-in needs no rights.
bool userMayRenumber();

// The report file on the system's disk, opened for the bytes the report command wrote; a
// UTF-16 report converts to the ANSI code page on Windows, to UTF-8 elsewhere.
class SystemReportFiles : public ReportFiles {
public:
    SystemReportFiles() = default;
    // Paths are taken within `reportFolder` rather than the current folder.
    explicit SystemReportFiles(PrivateReportFolder& reportFolder) : reportFolder_(&reportFolder) {}

    void removeLeftover(const std::string& path) override;
    std::unique_ptr<OpenReportFile> open(const std::string& path) override;
    void remove(const std::string& path) override;
    // The full path, in the system's way of writing it.
    std::string shownName(const std::string& path) override;
    NarrowFromUtf16 narrowEncoding() const override;

private:
    PrivateReportFolder* reportFolder_ = nullptr; // none: the current folder
};

// The lock on the system: on POSIX a lock on a file of this user's in the runtime or temporary
// folder, on Windows a named mutex of the machine (of the session where the machine's is
// refused). Given up by the system when its holder dies.
class SystemRenumberingLock : public RenumberingLock {
public:
    SystemRenumberingLock() = default;
    ~SystemRenumberingLock() override;
    SystemRenumberingLock(const SystemRenumberingLock&) = delete;
    SystemRenumberingLock& operator=(const SystemRenumberingLock&) = delete;

    void acquire(std::optional<std::chrono::seconds> wait) override;
    void release() noexcept override;

private:
    // The lock file's descriptor on POSIX, the mutex's handle on Windows; none while not held.
    std::intptr_t held_ = -1;
};

// The system's log of renumberings, in the sentences of platform/renumbering_events.mc: on
// Windows the Application event log, source "Quorvel", with the user's SID; elsewhere syslog,
// ident "quorvel", facility LOG_USER, with the user's name in the text. syslog reports no
// failure, so there an entry the logger does not take is lost without a word.
class SystemRenumberingLog : public RenumberingLog {
public:
    void record(const RenumberingRecord& record) override;
};

// Appends `line` and a line break (CR LF on Windows) to the file at `path` (in the system's
// narrow encoding, the ANSI code page on Windows), made if need be and never truncated. Many
// machines may append to one file on a share at once: each writes its line in one write, under
// a lock that every writer takes (flock on POSIX, a byte-range lock on Windows). `line` holds no
// line break. Throws OperationError naming the file.
void appendRunLogLine(const std::string& path, std::string_view line);

// This computer's name and this user's, for the logs; on Windows in the ANSI code page.
std::string computerName();
std::string userName();

} // namespace quorvel
