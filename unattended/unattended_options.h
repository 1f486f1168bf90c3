#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace quorvel {

inline constexpr const char* kProgramName = "quorvel";
inline constexpr std::chrono::seconds kDefaultTimeout{300};

// How the system's own programs spell options: Windows administrators type /?, /list and
// /set:NAME in any case; POSIX shells use --list and -h.
enum class OptionStyle { Posix, Windows };

enum class OptionKind { List, Set, SetMatch, DryRun, Log, Timeout, Help, Version };

// One option for scripts: how a command line spells it and what the help says of it.
struct UnattendedOption {
    OptionKind kind;
    // --name, --name=VALUE and --name VALUE; on Windows also /name, /name:VALUE and
    // /name VALUE, and the name in any case.
    std::string_view name;
    // -c for each character c (on Windows in either case); a ? is /? on Windows too.
    std::string_view shortNames;
    // What the help calls its value; empty when it takes none.
    std::string_view valueName;
    // Its lines in the help, beside its spellings.
    std::string_view description;
};

// Every option, in the help's order: the one table that parsing and the help read.
inline constexpr UnattendedOption kUnattendedOptions[] = {
    {OptionKind::List, "list", "", "", "Print each adapter as LANA<TAB>adapter name."},
    {OptionKind::Set, "set", "", "ADAPTER",
     "Give the adapter with exactly this name LANA 0, check\n"
     "that it took, and print the new list."},
    {OptionKind::SetMatch, "set-match", "", "PATTERN",
     "The same for the one adapter whose name matches\n"
     "PATTERN: * stands for any text, ? for any one\n"
     "character, and letters match in either case."},
    {OptionKind::DryRun, "dry-run", "", "",
     "With --set or --set-match: print the list and the\n"
     "renumbering command that would run; change nothing."},
    {OptionKind::Log, "log", "", "FILE",
     "Append one line on this run to FILE, which may be\n"
     "on a share that many computers write to."},
    {OptionKind::Timeout, "timeout", "", "SECONDS",
     "The longest a lanacfg run may take (default 300)."},
    {OptionKind::Help, "help", "h?", "", "Show this help."},
    {OptionKind::Version, "version", "v", "", "Show the version."},
};

struct ListRequest {};
struct SetRequest {
    std::string adapterName; // the argument's bytes as given, never re-encoded
};
struct SetMatchRequest {
    std::string pattern; // * and ? as wildcards, ASCII letters in either case
};

struct UnattendedRequest {
    std::variant<ListRequest, SetRequest, SetMatchRequest> action;
    std::chrono::seconds timeout = kDefaultTimeout;
    // --dry-run: find the adapter and tell what would run, and run no renumbering.
    bool dryRun = false;
    // --log FILE: the file that takes a line on this run, in the bytes given.
    std::optional<std::string> logFile = {};
};

// Text for standard output that ends the run with success: the help or the version.
struct ImmediateAnswer {
    std::string text;
    // What it is, for the message when it cannot be written: "help", "version".
    std::string_view subject = {};
};

// A command line that is wrong: what is wrong, in one line, and where to read the usage.
struct UsageProblem {
    std::string problem;
    std::string hint;
};

using ParsedOptions = std::variant<UnattendedRequest, ImmediateAnswer, UsageProblem>;

// The options for scripts (--list, --set ADAPTER, --set-match PATTERN, --dry-run, --log FILE,
// --timeout SECONDS, --help, --version), from the arguments that follow the program's name. A value
// is never empty and never an argument that spells an option: "--set --list" is wrong,
// "--set=--list" names an adapter.
ParsedOptions parseUnattendedOptions(const std::vector<std::string>& arguments,
                                     const std::string& version, OptionStyle style);

} // namespace quorvel
