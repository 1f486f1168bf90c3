#include "console.h"

#include "wide_text_win32.h"

namespace lanacfg {

std::vector<std::string> commandArguments(int argc, char* argv[])
{
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(utf8FromAnsi(argv[i]));
    return arguments;
}

// Readers of a Windows tool's report, Quorvel among them, take it in the ANSI code page.
// The text-mode stdout and stderr of the C runtime end each line in CR LF.
std::string consoleText(std::string_view text)
{
    return ansiFromUtf8(text);
}

} // namespace lanacfg
