#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvel {

// The system's narrow encoding of well-formed UTF-16 text, or nothing when a character has no
// place in it.
using NarrowFromUtf16 = std::optional<std::string> (*)(std::u16string_view text);

// UTF-8, which holds every character.
std::optional<std::string> utf8FromUtf16(std::u16string_view text);

// The bytes the scan reads from a report file's bytes, which never hold a NUL. Some Windows
// tools write UTF-16 when redirected, with a byte-order mark or without one: text that starts
// with the mark, or whose first characters are ASCII each beside a NUL byte, is converted
// through `narrow`; a UTF-8 mark is dropped; any other file is its bytes. Throws OperationError
// naming shownName when UTF-16 text is malformed or does not convert, and when any other file
// holds a NUL byte: it is no text, and would list nothing.
std::string reportBytes(std::string fileBytes, std::string_view shownName, NarrowFromUtf16 narrow);

} // namespace quorvel
