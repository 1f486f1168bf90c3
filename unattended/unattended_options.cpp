#include "unattended_options.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace quorvel {

namespace {

// Written by hand: the options library's own help is wider than a console and shows its
// parser's workings. Every line fits 79 columns.
constexpr const char* kHelp =
    "Usage: quorvel [--list | --set ADAPTER | --set-match PATTERN]\n"
    "               [--timeout SECONDS]\n"
    "       quorvel --help | --version\n"
    "\n"
    "Shows the network adapters NetBEUI is bound to, with their LANA numbers, and\n"
    "gives one of them LANA 0 through the lanacfg tool. With no options it opens\n"
    "its window; with the options below it opens none and suits scripts.\n"
    "\n"
    "Options:\n"
    "  --list               Print each adapter as LANA<TAB>adapter name.\n"
    "  --set ADAPTER        Give the adapter with exactly this name LANA 0, check\n"
    "                       that it took, and print the new list.\n"
    "  --set-match PATTERN  The same for the one adapter whose name matches\n"
    "                       PATTERN: * stands for any text, ? for any one\n"
    "                       character, and letters match in either case.\n"
    "  --timeout SECONDS    The longest a lanacfg run may take (default 300).\n"
    "  --help, -h, -?       Show this help.\n"
    "  --version, -v        Show the version.\n"
    "\n"
    "On Windows the options may also be written /list, /set:ADAPTER, /set ADAPTER\n"
    "and so on, in any case, and /? shows this help.\n"
    "\n"
    "Exit status:\n"
    "  0  Done; after --set, the adapter shows LANA 0.\n"
    "  1  The renumbering was tried but did not take.\n"
    "  2  Wrong command line, or no single adapter has the given name.\n"
    "  3  The binding report could not be had, it gave a LANA that is not a number,\n"
    "     or another run kept the renumbering past --timeout.\n"
    "\n"
    "Examples:\n"
    "  quorvel --list\n"
    "      Show the adapters and their LANA numbers.\n"
    "\n"
    "  quorvel --set \"3Com EtherLink III Adapter\"\n"
    "  if %ERRORLEVEL% NEQ 0 echo LANA 0 not set >>%TEMP%\\quorvel.log\n"
    "      In a start-up script: give that adapter LANA 0, and note a failure.\n"
    "\n"
    "  quorvel --set-match \"Intel(R) PRO/100*\"\n"
    "      Give LANA 0 to the one Intel PRO/100 card, whatever this model calls it.\n";

// A week: longer than any wait a script could mean, short of overflowing a wait in ms.
constexpr std::int64_t kLongestTimeoutSeconds = std::int64_t{7} * 24 * 60 * 60;

struct LongOption {
    std::string_view name;
    bool takesValue;
};
constexpr std::array<LongOption, 6> kLongOptions{{
    {"list", false},
    {"set", true},
    {"set-match", true},
    {"timeout", true},
    {"help", false},
    {"version", false},
}};

const LongOption* longOption(std::string_view name)
{
    for (const LongOption& option : kLongOptions) {
        if (option.name == name)
            return &option;
    }
    return nullptr;
}

std::string lowerAscii(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

// One option in the one spelling the parser knows (--name, --name=value, -h); sets valueNext
// when the option's value is the next argument.
std::string conventionalOption(const std::string& argument, bool windows, bool& valueNext)
{
    if (argument == "-?" || (windows && argument == "/?"))
        return "--help";
    const bool slashed = windows && argument.size() > 1 && argument[0] == '/';
    const bool dashed = argument.rfind("--", 0) == 0 && argument.size() > 2;
    if (!slashed && !dashed) {
        // -h and -v; on Windows -H and -V too.
        const bool shortOption = argument.size() == 2 && argument[0] == '-';
        return windows && shortOption ? lowerAscii(argument) : argument;
    }
    const std::string_view body = std::string_view(argument).substr(slashed ? 1 : 2);
    const std::size_t separator = body.find(slashed ? ':' : '=');
    const std::string name =
        windows ? lowerAscii(body.substr(0, separator)) : std::string(body.substr(0, separator));
    const LongOption* option = longOption(name);
    if (option == nullptr)
        return argument; // the parser names it as not expected
    if (separator == std::string_view::npos) {
        valueNext = option->takesValue;
        return "--" + name;
    }
    return "--" + name + "=" + std::string(body.substr(separator + 1));
}

// The arguments in the parser's spelling. Values are never touched: an adapter's name may
// well start with a slash or read "-?".
std::vector<std::string> conventionalSpelling(const std::vector<std::string>& arguments,
                                              OptionStyle style)
{
    std::vector<std::string> spelled;
    bool valueNext = false;
    for (const std::string& argument : arguments) {
        if (valueNext) {
            spelled.push_back(argument);
            valueNext = false;
        } else {
            spelled.push_back(conventionalOption(argument, style == OptionStyle::Windows, valueNext));
        }
    }
    // Said here, as the parser would name the value's type rather than its meaning.
    if (valueNext)
        throw CLI::ArgumentMismatch(spelled.back() + " needs a value");
    return spelled;
}

struct OptionValues {
    bool help = false;
    bool version = false;
    bool list = false;
    std::optional<std::string> adapterName;
    std::optional<std::string> pattern;
    std::int64_t timeoutSeconds = kDefaultTimeout.count();
};

void describeOptions(CLI::App& app, OptionValues& values)
{
    app.set_help_flag();
    app.allow_windows_style_options(false); // spelled conventionally before parsing
    app.add_flag("-h,--help", values.help);
    app.add_flag("-v,--version", values.version);
    CLI::Option* list = app.add_flag("--list", values.list);
    CLI::Option* set = app.add_option("--set", values.adapterName)->excludes(list);
    app.add_option("--set-match", values.pattern)->excludes(list)->excludes(set);
    app.add_option("--timeout", values.timeoutSeconds)
        ->check(CLI::Range(std::int64_t{1}, kLongestTimeoutSeconds));
}

std::string oneLine(std::string text)
{
    std::replace(text.begin(), text.end(), '\n', ' ');
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

} // namespace

ParsedOptions parseUnattendedOptions(const std::vector<std::string>& arguments,
                                     const std::string& version, OptionStyle style)
{
    const std::string hint = style == OptionStyle::Windows
        ? "Type \"quorvel /?\" for usage."
        : "Type \"quorvel --help\" for usage.";
    CLI::App app("", kProgramName);
    OptionValues values;
    describeOptions(app, values);

    try {
        std::vector<std::string> spelled = conventionalSpelling(arguments, style);
        // CLI11 takes its argument vector last argument first.
        std::reverse(spelled.begin(), spelled.end());
        app.parse(spelled);
    } catch (const CLI::ParseError& error) {
        return UsageProblem{oneLine(error.what()), hint};
    }

    if (values.help)
        return ImmediateAnswer{kHelp};
    if (values.version)
        return ImmediateAnswer{std::string(kProgramName) + " " + version + "\n"};
    const auto timeout = std::chrono::seconds(values.timeoutSeconds);
    if (values.adapterName)
        return UnattendedRequest{SetRequest{*values.adapterName}, timeout};
    if (values.pattern)
        return UnattendedRequest{SetMatchRequest{*values.pattern}, timeout};
    if (values.list)
        return UnattendedRequest{ListRequest{}, timeout};
    return UsageProblem{"give one of --list, --set and --set-match", hint};
}

} // namespace quorvel
