#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvel {

// The one conversion point between the report's bytes, which are in the system's ANSI code
// page, and the UTF-16 of the wide Windows functions. Bytes that round-trip through
// wideFromAnsi and ansiFromWide come back unchanged wherever the code page allows it.
std::wstring wideFromAnsi(std::string_view bytes);
std::string ansiFromWide(std::wstring_view text);
// The same without any stand-in character: nothing when a character has no place in the code
// page. For report text and arguments, whose adapter names must match exactly.
std::optional<std::string> exactAnsiFromWide(std::wstring_view text);
std::optional<std::string> exactAnsiFromUtf16(std::u16string_view text);

} // namespace quorvel
