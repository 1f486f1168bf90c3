#include "window_program_start.h"

#include "platform/win32/ansi_text.h"
#include "platform/win32/system_message.h"

#include <windows.h>

#include <cstdlib>
#include <string>

namespace quorvel {

namespace {

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

} // namespace

int startWindowProgram(std::ostream& errors)
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
                         nullptr, &startup, &started)
        == 0) {
        errors << "quorvel: could not start \"" << ansiFromWide(program)
               << "\": " << systemMessage(::GetLastError()) << '\n';
        return EXIT_FAILURE;
    }
    ::CloseHandle(started.hThread);
    ::CloseHandle(started.hProcess);
    return EXIT_SUCCESS;
}

} // namespace quorvel
