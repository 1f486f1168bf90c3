#include "wide_text_win32.h"

#include <climits>
#include <stdexcept>
#include <windows.h>

namespace lanacfg {

namespace {

// Every text here is an argument, a path or at most a state file's worth of bytes.
int checkedLength(std::size_t length)
{
    if (length > static_cast<std::size_t>(INT_MAX))
        throw std::length_error("text too long to convert");
    return static_cast<int>(length);
}

// Flags stay 0: Windows 2000 takes no others with CP_UTF8.
std::wstring toWide(UINT codePage, std::string_view text)
{
    if (text.empty())
        return {};
    const int length = checkedLength(text.size());
    const int wideLength = ::MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    ::MultiByteToWideChar(codePage, 0, text.data(), length, wide.data(), wideLength);
    return wide;
}

std::string fromWide(UINT codePage, std::wstring_view text)
{
    if (text.empty())
        return {};
    const int length = checkedLength(text.size());
    const int narrowLength =
        ::WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(narrowLength), '\0');
    ::WideCharToMultiByte(codePage, 0, text.data(), length, narrow.data(), narrowLength, nullptr,
                          nullptr);
    return narrow;
}

} // namespace

std::wstring wideFromUtf8(std::string_view text)
{
    return toWide(CP_UTF8, text);
}

std::string utf8FromWide(std::wstring_view text)
{
    return fromWide(CP_UTF8, text);
}

std::string utf8FromAnsi(std::string_view text)
{
    return utf8FromWide(toWide(CP_ACP, text));
}

std::string ansiFromUtf8(std::string_view text)
{
    return fromWide(CP_ACP, wideFromUtf8(text));
}

} // namespace lanacfg
