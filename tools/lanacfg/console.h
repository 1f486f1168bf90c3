#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lanacfg {

// The arguments after the program name, as UTF-8 text.
std::vector<std::string> commandArguments(int argc, char* argv[]);

// UTF-8 text as the bytes this system's readers of our output expect.
std::string consoleText(std::string_view text);

} // namespace lanacfg
