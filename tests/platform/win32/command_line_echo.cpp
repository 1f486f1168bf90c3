// Stands in for lanacfg and cmd in the tests of the Win32 platform: records how it was
// started, told what to do through environment variables, which pass through cmd unchanged.
//   QUORVEL_ECHO_RECORD   file for the record (else standard output, as lanacfg's report)
//   QUORVEL_ECHO_PID      file for its process id, written first
//   QUORVEL_ECHO_SLEEP_MS milliseconds it sleeps before the record
//   QUORVEL_ECHO_WAIT_FOR file whose appearance it waits for before the record
//   QUORVEL_ECHO_STDERR   text it writes to standard error
//   QUORVEL_ECHO_EXIT     its exit status
// The record, one line each: "command line: " as the wide functions see it, in UTF-8;
// "ANSI command line: " as the ANSI functions (and a program's main) see it, in its bytes;
// "program: " its own path, in UTF-8; "console window: " visible, hidden or none.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <string_view>

namespace {

// Far beyond any wait a test asks for: only a test that forgot to let it go reaches it.
constexpr DWORD kHangGuardMilliseconds = 120'000;

std::wstring environmentValue(const wchar_t* name)
{
    wchar_t buffer[32768];
    const DWORD length = ::GetEnvironmentVariableW(name, buffer, sizeof buffer / sizeof buffer[0]);
    return length < sizeof buffer / sizeof buffer[0] ? std::wstring(buffer, length)
                                                     : std::wstring();
}

std::string utf8(std::wstring_view text)
{
    if (text.empty())
        return {};
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                             nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                          length, nullptr, nullptr);
    return bytes;
}

void writeAll(HANDLE handle, const std::string& bytes)
{
    DWORD written = 0;
    ::WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

void writeFile(const std::wstring& path, const std::string& bytes)
{
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        std::exit(98);
    writeAll(file, bytes);
    ::CloseHandle(file);
}

void waitFor(const std::wstring& path)
{
    for (DWORD waited = 0; ::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES;
         waited += 20) {
        if (waited > kHangGuardMilliseconds)
            std::exit(97);
        ::Sleep(20);
    }
}

std::string consoleWindow()
{
    const HWND window = ::GetConsoleWindow();
    if (window == nullptr)
        return "none";
    return ::IsWindowVisible(window) != 0 ? "visible" : "hidden";
}

std::string record()
{
    wchar_t program[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, program, MAX_PATH);
    return "command line: " + utf8(::GetCommandLineW()) + "\n" +
           "ANSI command line: " + ::GetCommandLineA() + "\n" +
           "program: " + utf8(std::wstring_view(program, length)) + "\n" +
           "console window: " + consoleWindow() + "\n";
}

} // namespace

int main()
{
    if (const std::wstring pidFile = environmentValue(L"QUORVEL_ECHO_PID"); !pidFile.empty())
        writeFile(pidFile, std::to_string(::GetCurrentProcessId()));
    if (const std::wstring text = environmentValue(L"QUORVEL_ECHO_STDERR"); !text.empty())
        writeAll(::GetStdHandle(STD_ERROR_HANDLE), utf8(text));
    if (const std::wstring sleep = environmentValue(L"QUORVEL_ECHO_SLEEP_MS"); !sleep.empty())
        ::Sleep(static_cast<DWORD>(std::wcstoul(sleep.c_str(), nullptr, 10)));
    if (const std::wstring signal = environmentValue(L"QUORVEL_ECHO_WAIT_FOR"); !signal.empty())
        waitFor(signal);

    if (const std::wstring recordFile = environmentValue(L"QUORVEL_ECHO_RECORD");
        !recordFile.empty())
        writeFile(recordFile, record());
    else
        writeAll(::GetStdHandle(STD_OUTPUT_HANDLE), record());

    // ExitProcess rather than a return: statuses above INT_MAX reach the parent unchanged.
    ::ExitProcess(static_cast<UINT>(
        std::wcstoul(environmentValue(L"QUORVEL_ECHO_EXIT").c_str(), nullptr, 10)));
}
