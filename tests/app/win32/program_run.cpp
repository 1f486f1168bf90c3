#include "program_run.h"

#include "tests/support/inheritable_file_win32.h"

#include <gtest/gtest.h>
#include <vector>

namespace quorvel::testing {

namespace fs = std::filesystem;

namespace {

// Far longer than any of these runs takes: only a hang reaches it.
constexpr DWORD kHangMilliseconds = 60'000;

// The writing end of a pipe that nobody reads any more.
HANDLE closedPipe()
{
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE reader = nullptr;
    HANDLE writer = nullptr;
    if (::CreatePipe(&reader, &writer, &inherit, 0) == 0)
        return INVALID_HANDLE_VALUE;
    ::CloseHandle(reader);
    return writer;
}

fs::path systemInterpreter()
{
    wchar_t folder[MAX_PATH] = {};
    ::GetSystemDirectoryW(folder, MAX_PATH);
    return fs::path(folder) / L"cmd.exe";
}

} // namespace

fs::path quorvelFolder()
{
    return fs::absolute(QUORVEL_DIR).make_preferred();
}

fs::path lanacfgFolder()
{
    return fs::absolute(LANACFG_DIR).make_preferred();
}

Outcome runInCommandPrompt(const std::wstring& commandLine, const fs::path& folder,
                           OutputTo outputTo)
{
    return runProgram(systemInterpreter(), L"cmd.exe /d /c " + commandLine, folder, outputTo);
}

Outcome runProgram(const fs::path& program, std::wstring commandLine, const fs::path& folder,
                   OutputTo outputTo)
{
    // Beside the folder, so that they are no part of what the command finds in it.
    const fs::path outPath = folder.parent_path() / L"standard-output.txt";
    const fs::path errPath = folder.parent_path() / L"standard-error.txt";
    const HANDLE in = inheritableFile(L"NUL", GENERIC_READ, OPEN_EXISTING);
    HANDLE out = nullptr;
    if (outputTo == OutputTo::File)
        out = inheritableFile(outPath, GENERIC_WRITE, CREATE_ALWAYS);
    else if (outputTo == OutputTo::ClosedPipe)
        out = closedPipe();
    else if (outputTo == OutputTo::InvalidHandle)
        out = INVALID_HANDLE_VALUE;
    const HANDLE err = inheritableFile(errPath, GENERIC_WRITE, CREATE_ALWAYS);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in;
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION started{};
    const BOOL ok = ::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0,
                                     nullptr, folder.c_str(), &startup, &started);
    for (const HANDLE handle : {in, out, err})
        if (handle != nullptr && handle != INVALID_HANDLE_VALUE)
            ::CloseHandle(handle);
    if (ok == 0) {
        ADD_FAILURE() << program.string() << " did not start: " << ::GetLastError();
        return {~DWORD{0}, {}, {}};
    }
    ::CloseHandle(started.hThread);
    DWORD status = ~DWORD{0};
    if (::WaitForSingleObject(started.hProcess, kHangMilliseconds) != WAIT_OBJECT_0) {
        ADD_FAILURE() << "still running after a minute";
        ::TerminateProcess(started.hProcess, status);
    }
    ::GetExitCodeProcess(started.hProcess, &status);
    ::CloseHandle(started.hProcess);
    return {status, readFile(outPath), readFile(errPath)};
}

StartedProgram::StartedProgram(DWORD processId)
    : process_(::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE,
                             processId))
{
}

StartedProgram::~StartedProgram()
{
    if (process_ == nullptr)
        return;
    if (::WaitForSingleObject(process_, 0) == WAIT_TIMEOUT)
        ::TerminateProcess(process_, 1);
    ::CloseHandle(process_);
}

std::optional<DWORD> StartedProgram::waitForEnd()
{
    if (process_ == nullptr || ::WaitForSingleObject(process_, kHangMilliseconds) != WAIT_OBJECT_0)
        return std::nullopt;
    DWORD status = 0;
    ::GetExitCodeProcess(process_, &status);
    return status;
}

} // namespace quorvel::testing
