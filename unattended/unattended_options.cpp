#include "unattended_options.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstdint>
#include <optional>

namespace quorvel {

namespace {

constexpr const char* kDescription =
    "Shows the network adapters NetBEUI is bound to, with their LANA numbers, and gives the\n"
    "adapter you pick LANA 0. With no options it opens its window.\n"
    "\n"
    "Exit status: 0 done; 1 the renumbering did not take; 2 wrong command line, or no single\n"
    "adapter has the given name; 3 the binding report could not be had.\n";

// A week: longer than any wait a script could mean, short of overflowing a wait in ms.
constexpr std::int64_t kLongestTimeoutSeconds = std::int64_t{7} * 24 * 60 * 60;

struct OptionValues {
    bool version = false;
    bool list = false;
    std::optional<std::string> adapterName;
    std::int64_t timeoutSeconds = kDefaultTimeout.count();
};

void describeOptions(CLI::App& app, OptionValues& values)
{
    app.set_help_flag("-h,--help", "Show this help.");
    // Handled here rather than by CLI11's own flag, so that its text goes out like the help.
    app.add_flag("-v,--version", values.version, "Show the version.");
    CLI::Option* list = app.add_flag(
        "--list", values.list, "Print each listed adapter as LANA<TAB>adapter name, one a line.");
    app.add_option("--set", values.adapterName,
                   "Give the adapter with exactly this name LANA 0, check that it took, and "
                   "print the new list.")
        ->type_name("<adapter>")
        ->excludes(list);
    app.add_option("--timeout", values.timeoutSeconds,
                   "End a report command still running after this many seconds (a renumbering "
                   "command is left to finish), and fail. Default: 300.")
        ->type_name("<seconds>")
        ->check(CLI::Range(std::int64_t{1}, kLongestTimeoutSeconds));
}

UsageProblem usageProblem(const CLI::App& app, const std::string& problem)
{
    return {std::string(kProgramName) + ": " + problem + "\n\n" + app.help()};
}

} // namespace

ParsedOptions parseUnattendedOptions(const std::vector<std::string>& arguments,
                                     const std::string& version)
{
    CLI::App app(kDescription, kProgramName);
    OptionValues values;
    describeOptions(app, values);

    // CLI11 takes its argument vector last argument first.
    std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        return ImmediateAnswer{app.help()};
    } catch (const CLI::ParseError& error) {
        return usageProblem(app, error.what());
    }

    if (values.version)
        return ImmediateAnswer{std::string(kProgramName) + " " + version + "\n"};
    const auto timeout = std::chrono::seconds(values.timeoutSeconds);
    if (values.adapterName)
        return UnattendedRequest{SetRequest{*values.adapterName}, timeout};
    if (values.list)
        return UnattendedRequest{ListRequest{}, timeout};
    return usageProblem(app, "give one of --list and --set");
}

} // namespace quorvel
