#include "binding_table.h"
#include "command_line.h"
#include "system.h"
#include "tool_error.h"

#include <cstdio>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

namespace lanacfg {

namespace {

StateError noSuchLana(const std::string& statePath, int lana)
{
    return StateError("no binding has LANA " + std::to_string(lana) + " in " + statePath);
}

// The binding report of the table in the state file, read under the lock.
std::string showLanaPaths(const std::string& statePath)
{
    const std::string stateFile = followStateLinks(statePath);
    const StateLock lock(stateFile, StateLock::Mode::Read);
    return lanaPathsReport(loadState(stateFile));
}

// Gives the binding on `lana` the number `newLana` in the state file, swapping with the
// binding that held it. Throws StateError when no binding has `lana`.
void setLanaNumber(const std::string& statePath, int lana, int newLana)
{
    // One lock per file, however a run names it: runs through a link and through the file
    // itself must take turns.
    const std::string stateFile = followStateLinks(statePath);
    // Nothing to write: a reader's lock is enough and leaves no folder or file behind.
    if (lana == newLana) {
        const StateLock lock(stateFile, StateLock::Mode::Read);
        if (loadState(stateFile).find(lana) == nullptr)
            throw noSuchLana(stateFile, lana);
        return;
    }

    // Held from reading to renaming, so no other run's change is lost in between.
    const StateLock lock(stateFile, StateLock::Mode::Change);
    BindingTable table = loadState(stateFile);
    if (!table.renumber(lana, newLana))
        throw noSuchLana(stateFile, lana);
    saveState(stateFile, table);
}

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
    const std::string line = "lanacfg: " + consoleText(oneLine(message)) + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
    return exitStatus;
}

// Through C's streams rather than C++'s, whose locale code would be most of the program.
void printOut(std::string_view text)
{
    const std::string out = consoleText(text);
    if (std::fwrite(out.data(), 1, out.size(), stdout) != out.size() || std::fflush(stdout) != 0)
        throw StateError("cannot write to standard output");
}

} // namespace

} // namespace lanacfg

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
