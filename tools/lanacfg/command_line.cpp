#include "command_line.h"

#include "binding_table.h"
#include "system.h"
#include "tool_error.h"

#include <string>

namespace lanacfg {

namespace {

// After the first line, which says what this program is.
constexpr std::string_view kHelpTextStart = R"(
Usage: lanacfg showlanapaths
       lanacfg setlananumber LANA NEW
       lanacfg --help

Shows and changes the LANA numbers of a made-up table of NetBIOS bindings, kept in the
state file below, with the commands and the report of the system's lanacfg.

  showlanapaths           print every binding with its LANA number, in LANA order
  setlananumber LANA NEW  give the binding on LANA the number NEW; a binding already
                          on NEW takes LANA in exchange. LANA equal to NEW changes nothing
  --help                  print this text

LANA numbers are written in decimal digits only, from 0 to 254.

State file
)";

// After the lines that tell where the state file is.
constexpr std::string_view kHelpTextEnd = R"(
  While it does not exist a built-in sample table is used; the first change writes
  the file, creating its folder.

  One binding a line:  LANA<TAB>protocol<TAB>adapter
  Fields are separated by one or more tabs; spaces around a field are ignored. Blank
  lines and lines starting with # are ignored. Each LANA number appears once. The
  protocol "NetBEUI Protocol" is NetBEUI; an adapter whose name holds "WAN" is a WAN
  adapter. Names must not hold "-->" or control characters. Example:
    0	NetBT	Intel(R) PRO/100 Adapter
    1	NetBEUI Protocol	3Com EtherLink III Adapter

  A change rewrites the whole file (comments are not kept): it is written to FILE.tmp,
  synced and moved over FILE. Runs take turns through a lock on FILE.lock. Both are
  regular files of the tool's own; anything else found there is refused.

Exit status
  0  success
  1  no binding has LANA, or the state file cannot be read, is malformed or cannot
     be written
  2  usage error: unknown command, missing or extra argument, or not a LANA number
)";

constexpr std::string_view kTryHelp = " (see lanacfg --help)";

int lanaArgument(std::string_view text)
{
    if (const auto lana = parseLanaNumber(text))
        return *lana;
    throw UsageError("\"" + std::string(text) +
                     "\" is not a LANA number (decimal digits only, 0 to 254)");
}

void expectArgumentCount(const std::vector<std::string_view>& args, std::size_t count,
                         std::string_view usage)
{
    if (args.size() < count)
        throw UsageError("missing argument: usage is " + std::string(usage));
    if (args.size() > count)
        throw UsageError("too many arguments: usage is " + std::string(usage));
}

} // namespace

Command parseCommandLine(const std::vector<std::string_view>& args)
{
    if (args.empty())
        throw UsageError("no command given" + std::string(kTryHelp));

    const std::string_view name = args.front();
    if (name == "--help") {
        expectArgumentCount(args, 1, "lanacfg --help");
        return {Command::Kind::Help};
    }
    if (name == "showlanapaths") {
        expectArgumentCount(args, 1, "lanacfg showlanapaths");
        return {Command::Kind::ShowLanaPaths};
    }
    if (name == "setlananumber") {
        expectArgumentCount(args, 3, "lanacfg setlananumber LANA NEW");
        return {Command::Kind::SetLanaNumber, lanaArgument(args[1]), lanaArgument(args[2])};
    }
    throw UsageError("unknown command \"" + std::string(name) + "\"" + std::string(kTryHelp));
}

std::string helpText()
{
    std::string text(LANACFG_DESCRIPTION ".\n");
    text += kHelpTextStart;
    text += stateFileLocationHelp();
    text += kHelpTextEnd;
    return text;
}

} // namespace lanacfg
