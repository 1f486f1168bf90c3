#include "unattended_options.h"

#include "inventory/ascii_text.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace quorvel {

namespace {

// The help around the options' own lines, the examples as each system's scripts write them.
// Every line fits 79 columns.
constexpr std::string_view kHelpBeforeOptions =
    "Usage: quorvel [--list | --set ADAPTER | --set-match PATTERN]\n"
    "               [--dry-run] [--log FILE] [--timeout SECONDS]\n"
    "       quorvel --help | --version\n"
    "\n"
    "Shows the network adapters NetBEUI is bound to, with their LANA numbers, and\n"
    "gives one of them LANA 0 through the lanacfg tool. With no options it opens\n"
    "its window; with the options below it opens none and suits scripts.\n"
    "\n"
    "Options:\n";
constexpr std::string_view kHelpAfterOptions =
    "\n"
    "On Windows the options may also be written /list, /set:ADAPTER, /set ADAPTER,\n"
    "/log:FILE and so on, in any case, and /? shows this help.\n"
    "\n"
    "After the list, --set and --set-match write one line on standard error that\n"
    "says the adapter was \"renumbered\" or is \"already on LANA 0\"; --dry-run's\n"
    "line there names the command it would run. Each renumbering tried goes into\n"
    "the system's log (the Application event log on Windows, else syslog).\n"
    "--log appends one line per run, its fields parted by tabs: the time (UTC),\n"
    "computer, user, version, action, adapter, LANA before, LANA after, outcome\n"
    "(renumbered, already, failed, refused, not-listed, ambiguous, no-report,\n"
    "listed) and exit status.\n"
    "\n"
    "Exit status:\n"
    "  0  Done; after --set, the adapter shows LANA 0.\n"
    "  1  The renumbering was tried but did not take.\n"
    "  2  Wrong command line, or no single adapter has the given name.\n"
    "  3  The binding report could not be had, it gave a LANA that is not a number,\n"
    "     or another run kept the renumbering past --timeout.\n"
    "  4  Done, but the list could not be written.\n"
    "\n"
    "Examples:\n";
constexpr std::string_view kPosixExamples =
    "  quorvel --list\n"
    "      Show the adapters and their LANA numbers.\n"
    "\n"
    "  quorvel --set \"3Com EtherLink III Adapter\" --dry-run\n"
    "  quorvel --set \"3Com EtherLink III Adapter\" --log /mnt/logs/quorvel.log\n"
    "      In a start-up script: try it first with --dry-run, which changes\n"
    "      nothing; then give that adapter LANA 0, with a line on it in a log\n"
    "      on a share.\n"
    "\n"
    "  quorvel --set-match \"Intel(R) PRO/100*\"\n"
    "      Give LANA 0 to the one Intel PRO/100 card, whatever this model calls it.\n";
constexpr std::string_view kWindowsExamples =
    "  quorvel /list\n"
    "      Show the adapters and their LANA numbers.\n"
    "\n"
    "  \"%ProgramFiles%\\Quorvel\\quorvel.com\" /set \"3Com EtherLink III Adapter\" ^\n"
    "      /dry-run\n"
    "  \"%ProgramFiles%\\Quorvel\\quorvel.com\" /set \"3Com EtherLink III Adapter\" ^\n"
    "      /log:\\\\server\\logs\\quorvel.log\n"
    "      In a computer start-up script: try it first with /dry-run, which\n"
    "      changes nothing; then give that adapter LANA 0. Such a script runs as\n"
    "      the system account, whose %TEMP% no one reads: the log goes to a share\n"
    "      that the computer accounts may write to.\n"
    "\n"
    "  quorvel /set-match \"Intel(R) PRO/100*\"\n"
    "      Give LANA 0 to the one Intel PRO/100 card, whatever this model calls it.\n";
// Where each option's description starts in the help.
constexpr std::size_t kHelpColumn = 23;

constexpr std::string_view kPosixHint = "Type \"quorvel --help\" for usage.";
constexpr std::string_view kWindowsHint = "Type \"quorvel /?\" for usage.";

// A week: longer than any wait a script could mean, short of overflowing a wait in ms.
constexpr std::int64_t kLongestTimeoutSeconds = std::int64_t{7} * 24 * 60 * 60;
// Longer names are rare; a longer pattern only makes the match slow while the lock is held.
constexpr std::size_t kLongestPattern = 256;

std::string helpText(OptionStyle style)
{
    std::string help(kHelpBeforeOptions);
    for (const UnattendedOption& option : kUnattendedOptions) {
        std::string spellings = "  --" + std::string(option.name);
        if (!option.valueName.empty())
            spellings += " " + std::string(option.valueName);
        for (const char shortName : option.shortNames)
            spellings += std::string(", -") + shortName;
        spellings.resize(std::max(kHelpColumn, spellings.size() + 1), ' ');
        help += spellings;
        for (const char c : option.description) {
            help += c;
            if (c == '\n')
                help.append(kHelpColumn, ' ');
        }
        help += '\n';
    }
    help += kHelpAfterOptions;
    help += style == OptionStyle::Windows ? kWindowsExamples : kPosixExamples;
    return help;
}

bool sameName(std::string_view typed, std::string_view name, OptionStyle style)
{
    if (style == OptionStyle::Posix)
        return typed == name;
    return std::equal(typed.begin(), typed.end(), name.begin(), name.end(),
                      [](char a, char b) { return asciiLower(a) == b; });
}

struct SpelledOption {
    const UnattendedOption& option;
    std::optional<std::string_view> value; // written into the argument after = or :
};

// The option that an argument spells, if any.
std::optional<SpelledOption> spelledOption(std::string_view argument, OptionStyle style)
{
    const bool windows = style == OptionStyle::Windows;
    // /? is every Windows program's help; /h and /v would read as other tools' options.
    if (argument.size() == 2 && (argument[0] == '-' || (windows && argument == "/?"))) {
        const char shortName = windows ? asciiLower(argument[1]) : argument[1];
        for (const UnattendedOption& option : kUnattendedOptions) {
            if (option.shortNames.find(shortName) != std::string_view::npos)
                return SpelledOption{option, std::nullopt};
        }
        return std::nullopt;
    }
    const bool slashed = windows && argument.size() > 1 && argument[0] == '/';
    const bool dashed = argument.size() > 2 && argument.substr(0, 2) == "--";
    if (!slashed && !dashed)
        return std::nullopt;
    const std::string_view body = argument.substr(slashed ? 1 : 2);
    const std::size_t separator = body.find(slashed ? ':' : '=');
    for (const UnattendedOption& option : kUnattendedOptions) {
        if (!sameName(body.substr(0, separator), option.name, style))
            continue;
        if (separator == std::string_view::npos)
            return SpelledOption{option, std::nullopt};
        return SpelledOption{option, body.substr(separator + 1)};
    }
    return std::nullopt;
}

bool looksLikeOption(std::string_view argument, OptionStyle style)
{
    return argument.size() > 1 &&
           (argument[0] == '-' || (style == OptionStyle::Windows && argument[0] == '/'));
}

// Decimal digits only: "0x10", "5.5", "+5" and " 5" are no number of seconds here.
std::optional<std::chrono::seconds> timeoutFrom(std::string_view text)
{
    std::int64_t seconds = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        seconds = seconds * 10 + (c - '0');
        if (seconds > kLongestTimeoutSeconds)
            return std::nullopt;
    }
    if (seconds < 1)
        return std::nullopt;
    return std::chrono::seconds(seconds);
}

struct OptionValues {
    bool help = false;
    bool version = false;
    bool list = false;
    bool dryRun = false;
    std::optional<std::string> logFile;
    std::optional<std::string> adapterName;
    std::optional<std::string> pattern;
    std::optional<std::chrono::seconds> timeout;
};

// Takes the value of the option called `name`; what is wrong with it, or nothing.
std::optional<std::string> takeValue(OptionKind kind, const std::string& name,
                                     std::string_view value, OptionValues& values)
{
    if (kind == OptionKind::Timeout) {
        if (values.timeout)
            return name + " is given twice";
        values.timeout = timeoutFrom(value);
        if (!values.timeout)
            return name + " takes whole seconds from 1 to " +
                   std::to_string(kLongestTimeoutSeconds) + ", not \"" + std::string(value) + "\"";
        return std::nullopt;
    }
    std::optional<std::string>& taken = kind == OptionKind::Set   ? values.adapterName
                                        : kind == OptionKind::Log ? values.logFile
                                                                  : values.pattern;
    if (taken)
        return name + " is given twice";
    if (kind == OptionKind::SetMatch && value.size() > kLongestPattern)
        return "a " + name + " pattern may hold at most " + std::to_string(kLongestPattern) +
               " bytes";
    taken = std::string(value);
    return std::nullopt;
}

// What is wrong with the options given together, or nothing.
std::optional<std::string> combinationProblem(const OptionValues& values)
{
    const bool setting = values.adapterName || values.pattern;
    if (values.list + values.adapterName.has_value() + values.pattern.has_value() > 1)
        return "give only one of --list, --set and --set-match";
    if (values.dryRun && !setting)
        return "--dry-run goes only with --set or --set-match";
    if (values.logFile && !setting && !values.list)
        return "--log goes only with --list, --set or --set-match";
    return std::nullopt;
}

// Reads every argument into `values`; what is wrong with the command line, or nothing.
std::optional<std::string> readArguments(const std::vector<std::string>& arguments,
                                         OptionStyle style, OptionValues& values)
{
    for (std::size_t next = 0; next < arguments.size();) {
        const std::string& argument = arguments[next++];
        const std::optional<SpelledOption> spelled = spelledOption(argument, style);
        if (!spelled) {
            return (looksLikeOption(argument, style) ? "unknown option \""
                                                     : "unexpected argument \"") +
                   argument + "\"";
        }
        const UnattendedOption& option = spelled->option;
        const std::string name = "--" + std::string(option.name);
        if (option.valueName.empty()) {
            if (spelled->value)
                return name + " takes no value";
            values.help |= option.kind == OptionKind::Help;
            values.version |= option.kind == OptionKind::Version;
            values.list |= option.kind == OptionKind::List;
            values.dryRun |= option.kind == OptionKind::DryRun;
            continue;
        }
        std::string_view value = spelled->value.value_or("");
        if (!spelled->value && next < arguments.size()) {
            value = arguments[next++];
            if (spelledOption(value, style))
                return name + " needs a value, not the option \"" + std::string(value) + "\"";
        }
        if (value.empty())
            return name + " needs a value";
        if (auto problem = takeValue(option.kind, name, value, values))
            return problem;
    }
    return combinationProblem(values);
}

} // namespace

ParsedOptions parseUnattendedOptions(const std::vector<std::string>& arguments,
                                     const std::string& version, OptionStyle style)
{
    const std::string hint(style == OptionStyle::Windows ? kWindowsHint : kPosixHint);
    OptionValues values;
    if (auto problem = readArguments(arguments, style, values))
        return UsageProblem{std::move(*problem), hint};

    if (values.help)
        return ImmediateAnswer{helpText(style), "help"};
    if (values.version)
        return ImmediateAnswer{std::string(kProgramName) + " " + version + "\n", "version"};
    UnattendedRequest request{ListRequest{}, values.timeout.value_or(kDefaultTimeout),
                              values.dryRun, values.logFile};
    if (values.adapterName)
        request.action = SetRequest{*values.adapterName};
    else if (values.pattern)
        request.action = SetMatchRequest{*values.pattern};
    else if (!values.list)
        return UsageProblem{"give one of --list, --set and --set-match", hint};
    return request;
}

} // namespace quorvel
