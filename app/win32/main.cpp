// quorvel.exe, a GUI program: with no arguments the window, else the options for scripts.
#include "app/win32/options_run.h"
#include "inventory/operation_error.h"
#include "platform/system_access.h"
#include "window/form1_layout.h"
#include "window/win32/form1.h"
#include "window/win32/message_dialog.h"

#include <windows.h>

#include <commctrl.h>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace quorvel;

// A kernel32 function that Windows 2000 lacks, looked up when it is needed rather than
// imported, so that the program still starts there; null where this Windows has none.
// kernel32 is loaded from the system folder in every process: nothing is searched for.
template <typename Function>
Function laterKernel32Function(const char* name)
{
    const HMODULE kernel32 = ::GetModuleHandleW(L"kernel32.dll");
    if (kernel32 == nullptr)
        return nullptr;
    // By way of void (*)(), which converts to any function pointer type without a warning.
    return reinterpret_cast<Function>(
        reinterpret_cast<void (*)()>(::GetProcAddress(kernel32, name)));
}

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

struct OutputHandles {
    HANDLE output; // null: nowhere to write
    HANDLE errors;
};

// Where a GUI program's options write: the standard handles it inherited (a file, a pipe),
// and for each it lacks, the console of the program that started it, attached to on Windows
// XP and later. Started from elsewhere, or on Windows 2000, there may be nowhere.
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

// Builds, loads and shows the main window and runs it until the program's end. An error
// before the window runs is shown in the error box.
int startWindow()
{
    // Loads comctl32, so that the manifest's Common Controls 6 draw the controls themed.
    ::InitCommonControls();
    try {
        // The report goes into the current folder, unless cmd.exe cannot work or write there
        // (a program started from a share): then into a folder of the window's own.
        PrivateReportFolder privateFolder;
        const bool inCurrentFolder = currentFolderTakesReport();
        SystemCommandRunner runner =
            inCurrentFolder ? SystemCommandRunner() : SystemCommandRunner(privateFolder);
        SystemReportFiles reportFiles =
            inCurrentFolder ? SystemReportFiles() : SystemReportFiles(privateFolder);
        SystemRenumberingLock renumberingLock;
        SystemRenumberingLog renumberingLog;
        Form1 window(runner, reportFiles, renumberingLock, renumberingLog, userMayRenumber());
        // As the shortcut or the starting program asked: normal, minimised, ...
        return window.run(SW_SHOWDEFAULT);
    } catch (...) {
        Win32MessageDialog().show(describeCurrentError(), kFormCaption, MessageKind::Error);
    }
    return EXIT_FAILURE;
}

} // namespace

// The C runtime's wide arguments: the command line as typed (see runOptions).
int wmain(int argc, wchar_t* argv[])
{
    if (argc > 1) {
        const std::vector<std::wstring> arguments(argv + 1, argv + argc);
        const OutputHandles output = windowsProgramOutput();
        return runOptions(arguments, output.output, output.errors);
    }
    return startWindow();
}
