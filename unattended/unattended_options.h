#pragma once

#include <chrono>
#include <string>
#include <variant>
#include <vector>

namespace quorvel {

inline constexpr const char* kProgramName = "quorvel";
inline constexpr std::chrono::seconds kDefaultTimeout{300};

struct ListRequest {};
struct SetRequest {
    std::string adapterName; // the argument's bytes as given, never re-encoded
};

struct UnattendedRequest {
    std::variant<ListRequest, SetRequest> action;
    std::chrono::seconds timeout = kDefaultTimeout;
};

// Text for standard output that ends the run with success: the help or the version.
struct ImmediateAnswer {
    std::string text;
};

// A command line that is wrong: what is wrong, followed by the help.
struct UsageProblem {
    std::string text;
};

using ParsedOptions = std::variant<UnattendedRequest, ImmediateAnswer, UsageProblem>;

// The options for scripts (--list, --set ADAPTER, --timeout SECONDS, --help, --version),
// from the arguments that follow the program's name.
ParsedOptions parseUnattendedOptions(const std::vector<std::string>& arguments,
                                     const std::string& version);

} // namespace quorvel
