// The command runner on Windows, with CreateProcessW: the command line goes to the system
// exactly as composed, with no console window. "cmd /c ..." runs the system's own cmd.exe; any
// other command's program is found as cmd.exe would find it (current folder, then PATH, with
// PATHEXT) and named as the application.
#include "ansi_text.h"
#include "inventory/system_interfaces.h"
#include "owned_handle.h"
#include "platform/command_line_words.h"
#include "platform/program_search.h"
#include "platform/system_access.h"
#include "system_message.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cwchar>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

namespace {

// The exit status that a stopped command and everything it started end with.
constexpr UINT kStoppedExitCode = 1;

[[noreturn]] void fail(const std::string& commandLine, const std::string& reason)
{
    throw OperationError("Could not run \"" + commandLine + "\": " + reason);
}

// Wide strings of the functions that fill a buffer and return the size it needs when it is
// too small: ask, then fill.
template <typename Fill>
std::wstring filledString(Fill fill)
{
    std::wstring text;
    DWORD size = fill(nullptr, 0);
    while (size > text.size()) {
        text.resize(size);
        size = fill(text.data(), static_cast<DWORD>(text.size()));
    }
    text.resize(size);
    return text;
}

std::wstring environmentValue(const wchar_t* name)
{
    return filledString([name](wchar_t* buffer, DWORD size) {
        return ::GetEnvironmentVariableW(name, buffer, size);
    });
}

std::wstring currentFolder()
{
    return filledString(
        [](wchar_t* buffer, DWORD size) { return ::GetCurrentDirectoryW(size, buffer); });
}

// Whether `path` is `folder` or lies within it, letters compared in either case.
bool isWithinFolder(const std::wstring& path, std::wstring folder)
{
    if (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/'))
        folder.pop_back();
    return path.size() >= folder.size() &&
           ::lstrcmpiW(path.substr(0, folder.size()).c_str(), folder.c_str()) == 0 &&
           (path.size() == folder.size() || path[folder.size()] == L'\\' ||
            path[folder.size()] == L'/');
}

// The system's own interpreter: a cmd.exe in the current folder is never the one that runs.
std::wstring systemInterpreter(const std::string& commandLine)
{
    std::wstring folder = filledString([](wchar_t* buffer, DWORD size) {
        return static_cast<DWORD>(::GetSystemDirectoryW(buffer, size));
    });
    if (folder.empty())
        fail(commandLine, "the system folder is unknown: " + systemMessage(::GetLastError()));
    return folder + L"\\cmd.exe";
}

bool isFile(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The program CreateProcessW is to start for a command line, named as its application so
// that CreateProcessW's own search (the program's folder and the system folders first) never
// decides it: the system's cmd.exe for "cmd /c ...", else the command's first word found as
// cmd.exe finds a program.
std::wstring applicationName(const std::string& commandLine)
{
    if (interpreterCommand(commandLine))
        return systemInterpreter(commandLine);

    const std::vector<std::string> words = splitWindowsCommandLine(commandLine);
    if (words.empty())
        fail(commandLine, "the command line is empty");
    // The report command reaches its program through cmd.exe's search; this one must reach
    // the same program.
    const auto program =
        findProgramLikeCmd(wideFromAnsi(words.front()), currentFolder(), environmentValue(L"PATH"),
                           environmentValue(L"PATHEXT"), isFile);
    if (!program)
        fail(commandLine, words.front() + ": not found in the current folder or on PATH");
    return *program;
}

bool isAbsoluteFolder(std::wstring_view folder)
{
    const bool drive =
        folder.size() >= 3 && folder[1] == L':' && (folder[2] == L'\\' || folder[2] == L'/');
    const bool share = folder.size() >= 2 && (folder[0] == L'\\' || folder[0] == L'/') &&
                       (folder[1] == L'\\' || folder[1] == L'/');
    return drive || share;
}

std::wstring fullPath(const std::wstring& path)
{
    return filledString([&path](wchar_t* buffer, DWORD size) {
        return ::GetFullPathNameW(path.c_str(), size, buffer, nullptr);
    });
}

std::wstring quotedIfNeeded(const std::wstring& folder)
{
    return folder.find(L';') == std::wstring::npos ? folder : L"\"" + folder + L"\"";
}

// PATH as cmd.exe started in another folder must read it to find what findProgramLikeCmd finds
// here: this folder first, as cmd looks in its current folder first, and every relative entry
// made absolute from here.
std::wstring pathFromHere(const std::wstring& path)
{
    std::wstring result = quotedIfNeeded(currentFolder());
    for (const std::wstring& folder : cmdPathEntries(path)) {
        if (folder.empty())
            continue;
        result += L';';
        result += quotedIfNeeded(isAbsoluteFolder(folder) ? folder : fullPath(folder));
    }
    return result;
}

// This process's environment block with PATH read from here (see pathFromHere), for a report
// command started in another folder.
std::vector<wchar_t> environmentFromHere()
{
    std::vector<std::wstring> variables;
    if (wchar_t* block = ::GetEnvironmentStringsW(); block != nullptr) {
        for (const wchar_t* variable = block; *variable != L'\0';
             variable += variables.back().size() + 1)
            variables.emplace_back(variable);
        ::FreeEnvironmentStringsW(block);
    }
    const std::wstring path = L"PATH=" + pathFromHere(environmentValue(L"PATH"));
    bool replaced = false;
    for (std::wstring& variable : variables) {
        if (::_wcsnicmp(variable.c_str(), L"PATH=", 5) == 0) {
            variable = path;
            replaced = true;
        }
    }
    if (!replaced) {
        // The block stays sorted by name, as Windows wants it.
        const auto later =
            std::find_if(variables.begin(), variables.end(), [](const std::wstring& variable) {
                return variable[0] != L'=' && ::_wcsicmp(variable.c_str(), L"PATH") > 0;
            });
        variables.insert(later, path);
    }
    std::vector<wchar_t> environment;
    for (const std::wstring& variable : variables)
        environment.insert(environment.end(), variable.c_str(),
                           variable.c_str() + variable.size() + 1);
    environment.push_back(L'\0');
    return environment;
}

HANDLE openInheritableNul()
{
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return ::CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         &inherit, OPEN_EXISTING, 0, nullptr);
}

// The handle itself may not be inheritable; an inheritable copy is.
HANDLE inheritableStandardError()
{
    const HANDLE own = ::GetStdHandle(STD_ERROR_HANDLE);
    if (own == nullptr || own == INVALID_HANDLE_VALUE)
        return nullptr;
    HANDLE copy = nullptr;
    if (::DuplicateHandle(::GetCurrentProcess(), own, ::GetCurrentProcess(), &copy, 0, TRUE,
                          DUPLICATE_SAME_ACCESS) == 0)
        return nullptr;
    return copy;
}

// Inheritable standard handles for a command: input from and output to NUL, as nothing is
// said to it and its report goes through a file; errors to this process's own standard error
// when it has one, so that the tool's complaints reach a user at a console, else to NUL.
class ChildStandardHandles {
public:
    ChildStandardHandles() : nul_(openInheritableNul()), error_(inheritableStandardError()) {}

    HANDLE input() const { return nul_.get(); }
    HANDLE output() const { return nul_.get(); }
    HANDLE error() const { return error_.isOpen() ? error_.get() : nul_.get(); }

private:
    OwnedHandle nul_;
    OwnedHandle error_;
};

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
StartedCommand start(const std::string& commandLine, bool mayStop,
                     PrivateReportFolder* reportFolder)
{
    std::wstring line = wideFromAnsi(commandLine);
    // CreateProcessW would read the line only up to the NUL, and run something else.
    if (line.find(L'\0') != std::wstring::npos)
        fail(commandLineForMessages(commandLine),
             "it holds a NUL character, which no command line can carry");
    const std::wstring application = applicationName(commandLine);
    // Only the report command runs in the run's own folder, with PATH read from here.
    const bool elsewhere = reportFolder != nullptr && interpreterCommand(commandLine).has_value();
    std::vector<wchar_t> environment;
    if (elsewhere)
        environment = environmentFromHere();

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
                         CREATE_NO_WINDOW | (mayStop ? CREATE_SUSPENDED : 0) |
                             (elsewhere ? CREATE_UNICODE_ENVIRONMENT : 0),
                         elsewhere ? environment.data() : nullptr,
                         elsewhere ? reportFolder->path().c_str() : nullptr, &startup,
                         &started) == 0)
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

CommandOutcome SystemCommandRunner::run(const std::string& commandLine,
                                        std::optional<TimeLimit> limit)
{
    const bool mayStop = limit && limit->action == OnTimeout::Stop;
    const StartedCommand command = start(commandLine, mayStop, reportFolder_);

    switch (::WaitForSingleObject(command.process.get(), waitMilliseconds(limit))) {
    case WAIT_OBJECT_0:
        break;
    case WAIT_TIMEOUT: {
        const auto seconds = static_cast<std::int64_t>(limit->after.count());
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

bool currentFolderTakesReport()
{
    const std::wstring here = currentFolder();
    if (!cmdCanWorkIn(here))
        return false;
    std::wstring windows = filledString([](wchar_t* buffer, DWORD size) {
        return static_cast<DWORD>(::GetSystemWindowsDirectoryW(buffer, size));
    });
    if (windows.empty() || isWithinFolder(here, windows))
        return false;
    // The rights, the medium and the share's settings all decide; a file that goes when it is
    // closed asks them all at once.
    for (unsigned attempt = 0; attempt < 10; ++attempt) {
        const std::wstring probe = L"quorvel-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                                   std::to_wstring(attempt) + L".tmp";
        const HANDLE file = ::CreateFileW(
            probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
            FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            ::CloseHandle(file);
            return true;
        }
        if (::GetLastError() != ERROR_FILE_EXISTS)
            return false;
    }
    return false;
}

ProgramNotFound SystemCommandRunner::interpreterNotFound() const
{
    return {9009, "the current folder, then the folders listed in PATH"};
}

bool userMayRenumber()
{
    // Windows 2000 has CheckTokenMembership. Under User Account Control an administrator's
    // unelevated token holds the group for denial only and counts as not a member, rightly:
    // the renumbering then needs an elevated run too.
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    if (::AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                   DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0, &administrators) == 0)
        return true;
    BOOL member = FALSE;
    const bool known = ::CheckTokenMembership(nullptr, administrators, &member) != 0;
    ::FreeSid(administrators);
    return !known || member != FALSE;
}

} // namespace quorvel
