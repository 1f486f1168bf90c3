#include "console.h"

namespace lanacfg {

// Bytes pass through as they are: file names and the state file's text are the user's.
std::vector<std::string> commandArguments(int argc, char* argv[])
{
    return {argv + (argc > 0 ? 1 : 0), argv + argc};
}

std::string consoleText(std::string_view text)
{
    return std::string(text);
}

} // namespace lanacfg
