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
// this object goes. A run that was killed leaves its folder, which the next run to make one
// removes. The window takes one where the current folder cannot take its report (see
// currentFolderTakesReport).
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
    // What marks the folder as in use while this run lives: a locked descriptor on POSIX, an
    // open handle on Windows.
    std::intptr_t inUse_ = -1;
};

// Whether the window's report command can run in the current folder and write its report
// there: this user can write there, and on Windows cmd.exe can work there (it cannot in a UNC
// path, and runs in the Windows folder instead) and it is not in the Windows folder, which is
// never written into. Asked without writing anywhere but in the current folder.
bool currentFolderTakesReport();

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

    // The current folder's turn, from the locks of this system (platform/*/..._locks.cpp);
    // none in a run's own folder.
    std::unique_ptr<ReportFolderTurn> takeFolderTurn(const std::string& path) override;
    void removeLeftover(const std::string& path) override;
    std::unique_ptr<OpenReportFile> open(const std::string& path) override;
    void remove(const std::string& path) override;
    // The full path, in the system's way of writing it.
    std::string shownName(const std::string& path) override;
    NarrowFromUtf16 narrowEncoding() const override;

private:
    PrivateReportFolder* reportFolder_ = nullptr; // none: the current folder
};

// The lock on the system, a lock file that the commands run while it is held inherit: on POSIX
// flock'd, in a folder only this user can write; on Windows opened for no one else, in the
// Windows folder for an administrator, else in the user's temporary folder. The system gives
// it up once its holder and those commands have ended.
class SystemRenumberingLock : public RenumberingLock {
public:
    SystemRenumberingLock() = default;
    ~SystemRenumberingLock() override;
    SystemRenumberingLock(const SystemRenumberingLock&) = delete;
    SystemRenumberingLock& operator=(const SystemRenumberingLock&) = delete;

    void acquire(std::optional<std::chrono::seconds> wait) override;
    void release() noexcept override;

private:
    // The lock file's descriptor on POSIX, its handle on Windows; none while not held.
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
