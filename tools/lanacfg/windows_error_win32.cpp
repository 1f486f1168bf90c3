#include "windows_error_win32.h"

#include "tool_error.h"
#include "wide_text_win32.h"

#include <windows.h>

namespace lanacfg {

namespace {

std::string systemMessage(DWORD error)
{
    wchar_t buffer[512];
    const DWORD length =
        ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                         error, 0, buffer, sizeof buffer / sizeof buffer[0], nullptr);
    std::wstring_view message(buffer, length);
    // The system's texts end in a full stop and a line break; ours go on after them.
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' ||
                                message.back() == L' ' || message.back() == L'.'))
        message.remove_suffix(1);
    if (message.empty())
        return "system error " + std::to_string(error);
    return utf8FromWide(message);
}

} // namespace

void throwWindowsFailure(std::string_view action, const std::string& path)
{
    const DWORD error = ::GetLastError();
    std::string message(action);
    message += ' ';
    message += path;
    message += ": ";
    message += systemMessage(error);
    throw StateError(message);
}

} // namespace lanacfg
