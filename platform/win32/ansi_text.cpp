#include "ansi_text.h"

#include "inventory/operation_error.h"

#include <windows.h>

#include <climits>

namespace quorvel {

namespace {

// The texts here are command lines, paths, messages and report lines: far below this.
int checkedLength(std::size_t length)
{
    if (length > static_cast<std::size_t>(INT_MAX))
        throw OperationError("A text of " + std::to_string(length) +
                             " characters is too long to convert");
    return static_cast<int>(length);
}

} // namespace

// Flags stay 0: the defaults map every byte of the code page, and Windows 2000 refuses some
// of the flags that later versions take.
std::wstring wideFromAnsi(std::string_view bytes)
{
    if (bytes.empty())
        return {};
    const int length = checkedLength(bytes.size());
    const int wideLength = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, wide.data(), wideLength);
    return wide;
}

std::string ansiFromWide(std::wstring_view text)
{
    if (text.empty())
        return {};
    const int length = checkedLength(text.size());
    const int byteLength =
        ::WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(byteLength), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.data(), length, bytes.data(), byteLength, nullptr,
                          nullptr);
    return bytes;
}

// WC_NO_BEST_FIT_CHARS (Windows 2000 knows it): no look-alike may stand in for a character.
std::optional<std::string> exactAnsiFromWide(std::wstring_view text)
{
    if (text.empty())
        return std::string();
    const int length = checkedLength(text.size());
    BOOL usedDefault = FALSE;
    const int byteLength = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length,
                                                 nullptr, 0, nullptr, &usedDefault);
    if (byteLength == 0 || usedDefault != FALSE)
        return std::nullopt;
    std::string bytes(static_cast<std::size_t>(byteLength), '\0');
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, bytes.data(),
                          byteLength, nullptr, nullptr);
    return bytes;
}

std::optional<std::string> exactAnsiFromUtf16(std::u16string_view text)
{
    return exactAnsiFromWide(std::wstring(text.begin(), text.end()));
}

} // namespace quorvel
