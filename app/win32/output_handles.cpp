#include "output_handles.h"

#include "app/win32/later_kernel32.h"

namespace quorvel {

namespace {

// AttachConsole's argument for the console of the parent process; XP's headers only.
constexpr DWORD kParentProcess = static_cast<DWORD>(-1);

using AttachConsoleFunction = BOOL(WINAPI*)(DWORD processId);

// Before Windows 8 a console handle is a pseudo-handle with its two low bits set, which
// GetFileType calls a character device even in a process that has no console.
bool isConsolePseudoHandle(HANDLE handle)
{
    return (reinterpret_cast<ULONG_PTR>(handle) & 3) == 3;
}

// A GUI program started from a console may be handed the console's handles, which mean
// nothing in a process without a console; a redirection gives it a file or pipe it can use.
HANDLE inheritedHandle(DWORD which)
{
    const HANDLE handle = ::GetStdHandle(which);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE)
        return nullptr;
    DWORD mode = 0;
    if (::GetConsoleMode(handle, &mode) != 0)
        return handle;
    if (isConsolePseudoHandle(handle))
        return nullptr;
    ::SetLastError(NO_ERROR);
    if (::GetFileType(handle) == FILE_TYPE_UNKNOWN && ::GetLastError() != NO_ERROR)
        return nullptr;
    return handle;
}

HANDLE parentConsole()
{
    const auto attachConsole = laterKernel32Function<AttachConsoleFunction>("AttachConsole");
    if (attachConsole == nullptr || attachConsole(kParentProcess) == 0)
        return nullptr;
    // Reading rights too: the console's mode, which tells a console from a file, needs them.
    // Open until the program ends.
    const HANDLE console =
        ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      nullptr, OPEN_EXISTING, 0, nullptr);
    return console == INVALID_HANDLE_VALUE ? nullptr : console;
}

} // namespace

OutputHandles windowsProgramOutput()
{
    OutputHandles handles{inheritedHandle(STD_OUTPUT_HANDLE), inheritedHandle(STD_ERROR_HANDLE)};
    if (handles.output == nullptr || handles.errors == nullptr) {
        const HANDLE console = parentConsole();
        if (handles.output == nullptr)
            handles.output = console;
        if (handles.errors == nullptr)
            handles.errors = console;
    }
    return handles;
}

} // namespace quorvel
