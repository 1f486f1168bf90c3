#include "application_name.h"

#include "ansi_text.h"
#include "inventory/operation_error.h"
#include "platform/command_line_words.h"
#include "platform/program_search.h"
#include "system_message.h"

#include <windows.h>

namespace quorvel {

namespace {

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
    return filledString([](wchar_t* buffer, DWORD size) {
        return ::GetCurrentDirectoryW(size, buffer);
    });
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

} // namespace

std::wstring applicationName(const std::string& commandLine)
{
    if (interpreterCommand(commandLine))
        return systemInterpreter(commandLine);

    const std::vector<std::string> words = splitWindowsCommandLine(commandLine);
    if (words.empty())
        fail(commandLine, "the command line is empty");
    // The report command reaches its program through cmd.exe's search; this one must reach
    // the same program.
    const auto program = findProgramLikeCmd(wideFromAnsi(words.front()), currentFolder(),
                                            environmentValue(L"PATH"),
                                            environmentValue(L"PATHEXT"), isFile);
    if (!program)
        fail(commandLine, words.front() + ": not found in the current folder or on PATH");
    return *program;
}

} // namespace quorvel
