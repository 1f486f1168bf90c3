#pragma once

#include <chrono>
#include <string>
#include <variant>
#include <vector>

namespace quorvel {

inline constexpr const char* kProgramName = "quorvel";
inline constexpr std::chrono::seconds kDefaultTimeout{300};

// How the system's own programs spell options: Windows administrators type /?, /list and
// /set:NAME in any case; POSIX shells use --list and -h.
enum class OptionStyle { Posix, Windows };

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
};

// Text for standard output that ends the run with success: the help or the version.
struct ImmediateAnswer {
    std::string text;
};

// A command line that is wrong: what is wrong, in one line, and where to read the usage.
struct UsageProblem {
    std::string problem;
    std::string hint;
};

using ParsedOptions = std::variant<UnattendedRequest, ImmediateAnswer, UsageProblem>;

// The options for scripts (--list, --set ADAPTER, --set-match PATTERN, --timeout SECONDS,
// --help, --version), from the arguments that follow the program's name.
ParsedOptions parseUnattendedOptions(const std::vector<std::string>& arguments,
                                     const std::string& version, OptionStyle style);

} // namespace quorvel
