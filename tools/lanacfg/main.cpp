#include "command_line.h"
#include "commands.h"
#include "console.h"
#include "state_file.h"
#include "tool_error.h"

#include <cstdio>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Every failure is one line on stderr, whatever bytes a file name or argument held.
std::string oneLine(std::string_view message)
{
    std::string line(message);
    for (char& c : line) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            c = '?';
    }
    return line;
}

int fail(int exitStatus, std::string_view message)
{
    const std::string line = "lanacfg: " + lanacfg::consoleText(oneLine(message)) + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
    return exitStatus;
}

// Through C's streams rather than C++'s, whose locale code would be most of the program.
void printOut(std::string_view text)
{
    const std::string out = lanacfg::consoleText(text);
    if (std::fwrite(out.data(), 1, out.size(), stdout) != out.size() || std::fflush(stdout) != 0)
        throw lanacfg::StateError("cannot write to standard output");
}

} // namespace

int main(int argc, char* argv[])
{
    using namespace lanacfg;
    try {
        const std::vector<std::string> arguments = commandArguments(argc, argv);
        const Command command =
            parseCommandLine(std::vector<std::string_view>(arguments.begin(), arguments.end()));
        switch (command.kind) {
        case Command::Kind::Help:
            printOut(helpText());
            break;
        case Command::Kind::ShowLanaPaths:
            printOut(showLanaPaths(stateFilePath()));
            break;
        case Command::Kind::SetLanaNumber:
            setLanaNumber(stateFilePath(), command.lana, command.newLana);
            break;
        }
        return kExitSuccess;
    } catch (const ToolError& error) {
        return fail(error.exitStatus(), error.what());
    } catch (const std::exception& error) {
        return fail(kExitStateFailure, error.what());
    }
}
