// The floor that the Windows programs' size and start-up are measured against: the least a
// program of theirs must be, a static Win32 window with a line of text that can start another
// program with CreateProcessW, in C++ with the standard strings and exceptions that they use,
// built by the same compilers with the same flags.
//   floor_program                 makes its window and ends, as soon as it could be shown
//   floor_program --window        shows it until it is closed
//   floor_program --version       writes a line to standard output and ends, making no window
//   floor_program PROGRAM [ARGS]  runs that command line and ends with its status
#include <windows.h>

#include <stdexcept>
#include <string>

namespace {

constexpr wchar_t kClassName[] = L"QuorvelFloorProgram";

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY)
        ::PostQuitMessage(0);
    return ::DefWindowProcW(window, message, wParam, lParam);
}

// What follows the program's own name on its command line, quoted or not.
const wchar_t* afterProgramName(const wchar_t* commandLine)
{
    const bool quoted = *commandLine == L'"';
    for (commandLine += quoted ? 1 : 0; *commandLine != L'\0'; ++commandLine) {
        if (quoted ? *commandLine == L'"' : *commandLine == L' ' || *commandLine == L'\t')
            break;
    }
    if (quoted && *commandLine == L'"')
        ++commandLine;
    while (*commandLine == L' ' || *commandLine == L'\t')
        ++commandLine;
    return commandLine;
}

int runCommand(std::wstring commandLine)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                         &startup, &started) == 0)
        throw std::runtime_error("could not start the command");
    ::WaitForSingleObject(started.hProcess, INFINITE);
    DWORD status = 1;
    ::GetExitCodeProcess(started.hProcess, &status);
    ::CloseHandle(started.hThread);
    ::CloseHandle(started.hProcess);
    return static_cast<int>(status);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand)
{
    const wchar_t* arguments = afterProgramName(::GetCommandLineW());
    if (::lstrcmpW(arguments, L"--version") == 0) {
        constexpr char kVersion[] = "floor_program 1\r\n";
        DWORD written = 0;
        return ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), kVersion, sizeof kVersion - 1,
                           &written, nullptr) != 0
                   ? 0
                   : 3;
    }
    const bool stay = ::lstrcmpW(arguments, L"--window") == 0;
    if (*arguments != L'\0' && !stay) {
        try {
            return runCommand(arguments);
        } catch (const std::exception& error) {
            ::MessageBoxA(nullptr, error.what(), "Floor", MB_OK);
            return 1;
        }
    }

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    ::RegisterClassW(&windowClass);
    const HWND window =
        ::CreateWindowExW(0, kClassName, L"Floor", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                          CW_USEDEFAULT, 320, 120, nullptr, nullptr, instance, nullptr);
    ::CreateWindowExW(0, L"STATIC", L"A line of text.", WS_CHILD | WS_VISIBLE, 12, 12, 280, 20,
                      window, nullptr, instance, nullptr);
    if (!stay) {
        ::DestroyWindow(window);
        return 0;
    }
    ::ShowWindow(window, showCommand);
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return 0;
}
