#include "win32_command_runner.h"

#include "ansi_text.h"
#include "application_name.h"
#include "child_standard_handles.h"
#include "inventory/operation_error.h"
#include "platform/command_line_words.h"
#include "owned_handle.h"
#include "system_message.h"

#include <windows.h>

#include <algorithm>
#include <chrono>

namespace quorvel {

namespace {

// The exit status that a stopped command and everything it started end with.
constexpr UINT kStoppedExitCode = 1;

[[noreturn]] void fail(const std::string& commandLine, const std::string& reason)
{
    throw OperationError("Could not run \"" + commandLine + "\": " + reason);
}

DWORD waitMilliseconds(const std::optional<TimeLimit>& limit)
{
    if (!limit)
        return INFINITE;
    const auto milliseconds = std::chrono::milliseconds(limit->after).count();
    // INFINITE itself would mean no limit at all.
    return static_cast<DWORD>(
        std::clamp<std::chrono::milliseconds::rep>(milliseconds, 0, INFINITE - 1));
}

// A started command and, for one that may be stopped, the job that holds it and everything
// it starts.
struct StartedCommand {
    OwnedHandle process;
    OwnedHandle job;
};

// Started suspended when it may have to be stopped, so that it is in its job before it can
// start anything of its own.
StartedCommand start(const std::string& commandLine, bool mayStop)
{
    std::wstring line = wideFromAnsi(commandLine);
    // CreateProcessW would read the line only up to the NUL, and run something else.
    if (line.find(L'\0') != std::wstring::npos)
        fail(commandLineForMessages(commandLine),
             "it holds a NUL character, which no command line can carry");
    const std::wstring application = applicationName(commandLine);

    const ChildStandardHandles handles;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    startup.hStdInput = handles.input();
    startup.hStdOutput = handles.output();
    startup.hStdError = handles.error();
    PROCESS_INFORMATION started{};
    // The line goes as composed: cmd and lanacfg see what a command prompt would give them.
    if (::CreateProcessW(application.c_str(), line.data(), nullptr, nullptr, TRUE,
                         CREATE_NO_WINDOW | (mayStop ? CREATE_SUSPENDED : 0), nullptr, nullptr,
                         &startup, &started)
        == 0)
        fail(commandLine, systemMessage(::GetLastError()));
    StartedCommand command{OwnedHandle(started.hProcess), OwnedHandle()};
    const OwnedHandle thread(started.hThread);
    if (!mayStop)
        return command;

    // A process already in a job cannot join another before Windows 8; then only the command
    // itself can be stopped.
    OwnedHandle job(::CreateJobObjectW(nullptr, nullptr));
    if (job.isOpen() && ::AssignProcessToJobObject(job.get(), command.process.get()) != 0)
        command.job = std::move(job);
    if (::ResumeThread(thread.get()) == static_cast<DWORD>(-1)) {
        const DWORD error = ::GetLastError();
        ::TerminateProcess(command.process.get(), kStoppedExitCode);
        fail(commandLine, systemMessage(error));
    }
    return command;
}

void stop(const StartedCommand& command)
{
    if (!command.job.isOpen() || ::TerminateJobObject(command.job.get(), kStoppedExitCode) == 0)
        ::TerminateProcess(command.process.get(), kStoppedExitCode);
    ::WaitForSingleObject(command.process.get(), INFINITE);
}

} // namespace

Win32CommandRunner::Win32CommandRunner(std::optional<TimeLimit> limit) : limit_(limit)
{
}

CommandOutcome Win32CommandRunner::run(const std::string& commandLine)
{
    const bool mayStop = limit_ && limit_->action == OnTimeout::Stop;
    const StartedCommand command = start(commandLine, mayStop);

    switch (::WaitForSingleObject(command.process.get(), waitMilliseconds(limit_))) {
    case WAIT_OBJECT_0:
        break;
    case WAIT_TIMEOUT: {
        const auto seconds = static_cast<std::int64_t>(limit_->after.count());
        if (mayStop) {
            stop(command);
            return {CommandOutcome::End::TimedOutStopped, seconds};
        }
        // Closing the handles leaves the command running: it may be halfway through a change.
        return {CommandOutcome::End::TimedOutLeftRunning, seconds};
    }
    default:
        fail(commandLine, "could not wait for it to end: " + systemMessage(::GetLastError()));
    }

    DWORD exitCode = 0;
    if (::GetExitCodeProcess(command.process.get(), &exitCode) == 0)
        fail(commandLine, "its exit status is unknown: " + systemMessage(::GetLastError()));
    return {CommandOutcome::End::Exited, static_cast<std::int64_t>(exitCode)};
}

} // namespace quorvel
