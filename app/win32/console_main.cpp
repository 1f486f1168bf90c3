// quorvel.com, a console program: a command prompt picks it before quorvel.exe and waits for
// it, so the options' output lands in that prompt and %ERRORLEVEL% holds their status. With
// no options it starts the window program and returns at once.
#include "app/win32/options_run.h"
#include "platform/win32/ansi_text.h"
#include "platform/win32/handle_output.h"
#include "platform/win32/system_message.h"

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace quorvel;

std::wstring ownPath()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        // Windows 2000 and XP cut the name short without a word when it does not fit.
        if (length < path.size() - 1) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

// quorvel.exe beside this program, whatever this one is called.
std::wstring windowProgramPath()
{
    std::wstring path = ownPath();
    const std::size_t name = path.find_last_of(L"\\/");
    const std::size_t dot = path.find_last_of(L'.');
    if (dot != std::wstring::npos && (name == std::wstring::npos || dot > name))
        path.resize(dot);
    return path + L".exe";
}

// Starts quorvel.exe from this program's own folder, without waiting for it; says why on
// `errors` when it cannot. Returns the exit status.
int startWindowProgram(ByteOutput& errors)
{
    const std::wstring program = windowProgramPath();
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    // No handles of this console go to the window: a pipe of whoever started this program
    // would otherwise stay open until the window closes.
    startup.dwFlags = STARTF_USESTDHANDLES;
    PROCESS_INFORMATION started{};
    if (::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                         nullptr, &startup, &started) == 0) {
        errors.write("quorvel: could not start \"" + ansiFromWide(program) +
                     "\": " + systemMessage(::GetLastError()) + '\n');
        return EXIT_FAILURE;
    }
    ::CloseHandle(started.hThread);
    ::CloseHandle(started.hProcess);
    return EXIT_SUCCESS;
}

} // namespace

// The C runtime's wide arguments: the command line as typed (see runOptions).
int wmain(int argc, wchar_t* argv[])
{
    const HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
    const HANDLE errors = ::GetStdHandle(STD_ERROR_HANDLE);
    if (argc > 1) {
        const std::vector<std::wstring> arguments(argv + 1, argv + argc);
        return runOptions(arguments, output == INVALID_HANDLE_VALUE ? nullptr : output,
                          errors == INVALID_HANDLE_VALUE ? nullptr : errors);
    }
    HandleOutput err(errors == INVALID_HANDLE_VALUE ? nullptr : errors);
    return startWindowProgram(err);
}
