#pragma once

#include <string>
#include <string_view>

namespace lanacfg {

// The one place where text changes encoding on Windows. Inside the tool all text is UTF-8
// (as in the state file); the system's paths are UTF-16, and the command line and what
// other programs read from our output are in the system's ANSI code page.

std::wstring wideFromUtf8(std::string_view text);
std::string utf8FromWide(std::wstring_view text);

std::string utf8FromAnsi(std::string_view text);
// Characters the code page lacks become '?'.
std::string ansiFromUtf8(std::string_view text);

} // namespace lanacfg
