#include "lanacfg_process_win32.h"

#include "tests/support/inheritable_file_win32.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string_view>

namespace fs = std::filesystem;
using quorvel::testing::inheritableFile;

namespace {

// Far beyond what any run takes, even under wine: only a run that hangs reaches it.
constexpr DWORD kHangGuardMilliseconds = 60'000;

// Where the run's stdout and stderr go; unique within this test program.
fs::path capturePath(std::wstring_view suffix)
{
    static int counter = 0;
    return fs::temp_directory_path() / (L"lanacfg-run-" + std::to_wstring(::GetCurrentProcessId()) +
                                        L"-" + std::to_wstring(++counter) + std::wstring(suffix));
}

std::wstring widened(std::string_view text)
{
    std::wstring wide(text.size(), L'\0');
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                             wide.data(), static_cast<int>(wide.size()));
    wide.resize(static_cast<std::size_t>(length));
    return wide;
}

// The arguments here hold no quotes; a space or an empty one needs quoting.
std::wstring commandLine(const std::wstring& program, const std::vector<std::string>& args)
{
    std::wstring line = L"\"" + program + L"\"";
    for (const std::string& arg : args) {
        const std::wstring wide = widened(arg);
        const bool quote = wide.empty() || wide.find_first_of(L" \t") != std::wstring::npos;
        line += quote ? L" \"" + wide + L"\"" : L" " + wide;
    }
    return line;
}

std::wstring upper(std::wstring_view text)
{
    std::wstring result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](wchar_t c) { return static_cast<wchar_t>(std::towupper(c)); });
    return result;
}

// This program's environment without the tool's variables, plus `added`, sorted by name as
// CreateProcess expects, in one block.
std::wstring environmentBlock(const std::vector<std::wstring>& added)
{
    std::vector<std::wstring> entries;
    wchar_t* const strings = ::GetEnvironmentStringsW();
    for (const wchar_t* entry = strings; *entry != L'\0'; entry += std::wcslen(entry) + 1) {
        if (!upper(entry).starts_with(L"LANACFG_"))
            entries.emplace_back(entry);
    }
    ::FreeEnvironmentStringsW(strings);
    entries.insert(entries.end(), added.begin(), added.end());
    std::stable_sort(
        entries.begin(), entries.end(), [](const std::wstring& a, const std::wstring& b) {
            return upper(a.substr(0, a.find(L'=', 1))) < upper(b.substr(0, b.find(L'=', 1)));
        });
    std::wstring block;
    for (const std::wstring& entry : entries) {
        block += entry;
        block += L'\0';
    }
    block += L'\0';
    return block;
}

} // namespace

LanacfgProcess::LanacfgProcess(const fs::path& statePath, const std::vector<std::string>& args,
                               const std::vector<std::wstring>& extraEnv)
    : outPath_(capturePath(L".out")), errPath_(capturePath(L".err"))
{
    const std::wstring program = widened(LANACFG_PATH);
    std::wstring line = commandLine(program, args);
    std::vector<std::wstring> added{L"LANACFG_STATE=" + statePath.wstring()};
    added.insert(added.end(), extraEnv.begin(), extraEnv.end());
    std::wstring environment = environmentBlock(added);

    const HANDLE in = inheritableFile(L"NUL", GENERIC_READ, OPEN_EXISTING);
    const HANDLE out = inheritableFile(outPath_, GENERIC_WRITE, CREATE_ALWAYS);
    const HANDLE err = inheritableFile(errPath_, GENERIC_WRITE, CREATE_ALWAYS);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in;
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION started{};
    const BOOL ok = ::CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE,
                                     CREATE_UNICODE_ENVIRONMENT | CREATE_NO_WINDOW,
                                     environment.data(), nullptr, &startup, &started);
    ::CloseHandle(in);
    ::CloseHandle(out);
    ::CloseHandle(err);
    if (ok == 0)
        throw std::runtime_error("cannot start " + std::string(LANACFG_PATH) + ": error " +
                                 std::to_string(::GetLastError()));
    ::CloseHandle(started.hThread);
    process_ = started.hProcess;
}

LanacfgProcess::~LanacfgProcess()
{
    if (process_ != nullptr) {
        kill();
        ::WaitForSingleObject(process_, INFINITE);
        ::CloseHandle(process_);
    }
    std::error_code ignored;
    fs::remove(outPath_, ignored);
    fs::remove(errPath_, ignored);
}

bool LanacfgProcess::endsWithin(DWORD milliseconds) const
{
    return ::WaitForSingleObject(process_, milliseconds) == WAIT_OBJECT_0;
}

void LanacfgProcess::kill() const
{
    ::TerminateProcess(process_, static_cast<UINT>(-1));
}

RunResult LanacfgProcess::wait()
{
    if (!endsWithin(kHangGuardMilliseconds)) {
        kill();
        ::WaitForSingleObject(process_, INFINITE);
    }
    DWORD exitCode = 0;
    ::GetExitCodeProcess(process_, &exitCode);
    ::CloseHandle(process_);
    process_ = nullptr;
    return {static_cast<int>(exitCode), readFile(outPath_), readFile(errPath_)};
}

RunResult runLanacfg(const fs::path& statePath, const std::vector<std::string>& args)
{
    return LanacfgProcess(statePath, args).wait();
}
