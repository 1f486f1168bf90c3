#include "system_message.h"

#include "ansi_text.h"

#include <string_view>

namespace quorvel {

std::string systemMessage(DWORD error)
{
    wchar_t buffer[512];
    const DWORD length =
        ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                         0, buffer, sizeof buffer / sizeof buffer[0], nullptr);
    std::wstring_view message(buffer, length);
    // Our messages go on after the system's text, which ends in ".\r\n".
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' ||
                                message.back() == L' ' || message.back() == L'.'))
        message.remove_suffix(1);
    if (message.empty())
        return "system error " + std::to_string(error);
    return ansiFromWide(message);
}

} // namespace quorvel
