#include "unattended/unattended_options.h"

#include <cctype>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace quorvel {
namespace {

using Args = std::vector<std::string>;
constexpr OptionStyle kPosix = OptionStyle::Posix;
constexpr OptionStyle kWindows = OptionStyle::Windows;

ParsedOptions parse(const Args& arguments, OptionStyle style = kPosix)
{
    return parseUnattendedOptions(arguments, "1.2.3", style);
}

// What a parse asked for, as one comparable line.
std::string requestOf(const ParsedOptions& parsed)
{
    if (std::holds_alternative<UsageProblem>(parsed))
        return "usage problem";
    if (const auto* answer = std::get_if<ImmediateAnswer>(&parsed))
        return answer->text.rfind("Usage:", 0) == 0 ? "help" : "answer " + answer->text;
    const auto& request = std::get<UnattendedRequest>(parsed);
    const std::string timeout = " within " + std::to_string(request.timeout.count());
    if (const auto* set = std::get_if<SetRequest>(&request.action))
        return "set " + set->adapterName + timeout;
    if (const auto* match = std::get_if<SetMatchRequest>(&request.action))
        return "match " + match->pattern + timeout;
    return "list" + timeout;
}

TEST(UnattendedOptions, ReadsEachSpellingOfEachStyle)
{
    // The name's bytes as given, whatever the encoding: a report may hold Latin-1.
    const std::string latin1 = "Carte r\xe9seau \"1\"";
    const struct {
        OptionStyle style;
        Args arguments;
        std::string request;
    } cases[] = {
        {kPosix, {"--list"}, "list within 300"},
        {kPosix, {"--timeout", "5", "--set", latin1}, "set " + latin1 + " within 5"},
        {kPosix, {"--set=/odd -? name"}, "set /odd -? name within 300"},
        {kPosix, {"--set-match", "intel*"}, "match intel* within 300"},
        {kPosix,
         {"--set-match", std::string(256, '*')},
         "match " + std::string(256, '*') + " within 300"},
        {kPosix, {"--list", "--timeout=604800"}, "list within 604800"},
        {kPosix, {"--help"}, "help"},
        {kPosix, {"-h"}, "help"},
        {kPosix, {"-?"}, "help"},
        {kPosix, {"--version"}, "answer quorvel 1.2.3\n"},
        {kPosix, {"/?"}, "usage problem"},
        {kPosix, {"/list"}, "usage problem"},
        {kPosix, {"--LIST"}, "usage problem"},
        {kWindows, {"/?"}, "help"},
        {kWindows, {"-?"}, "help"},
        {kWindows, {"/help"}, "help"},
        {kWindows, {"-h"}, "help"},
        {kWindows, {"--help"}, "help"},
        {kWindows, {"/HELP"}, "help"},
        {kWindows, {"/LIST"}, "list within 300"},
        {kWindows, {"--List", "/Timeout:7"}, "list within 7"},
        {kWindows, {"/Set:Card A"}, "set Card A within 300"},
        {kWindows, {"/set", "/?"}, "usage problem"},
        {kWindows, {"/set:/?"}, "set /? within 300"},
        {kWindows, {"/SET-MATCH", "Intel*", "/timeout", "9"}, "match Intel* within 9"},
        {kWindows, {"--set", latin1}, "set " + latin1 + " within 300"},
        {kWindows, {"/bogus"}, "usage problem"},
        {kWindows, {"/list", "/set:A"}, "usage problem"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.arguments) +
                     (c.style == kWindows ? " on Windows" : " on POSIX"));
        EXPECT_EQ(requestOf(parse(c.arguments, c.style)), c.request);
    }
}

TEST(UnattendedOptions, EverySpellingOfAnOptionReadsAsItsLongName)
{
    const auto upper = [](std::string text) {
        for (char& c : text)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return text;
    };
    for (const UnattendedOption& option : kUnattendedOptions) {
        const std::string name(option.name);
        // An action beside an option that is none.
        const Args action = option.kind == OptionKind::DryRun ? Args{"--set", "A"}
                            : option.kind == OptionKind::Timeout || option.kind == OptionKind::Log
                                ? Args{"--list"}
                                : Args{};
        Args longName = {"--" + name};
        std::vector<std::pair<OptionStyle, Args>> spellings;
        if (option.valueName.empty()) {
            spellings = {{kWindows, {"/" + upper(name)}}, {kWindows, {"--" + upper(name)}}};
            for (const char c : option.shortNames) {
                spellings.push_back({kPosix, {std::string("-") + c}});
                spellings.push_back({kWindows, {"-" + upper(std::string(1, c))}});
            }
        } else {
            longName.push_back("7");
            spellings = {{kPosix, {"--" + name + "=7"}},
                         {kWindows, {"/" + upper(name) + ":7"}},
                         {kWindows, {"/" + name, "7"}},
                         {kWindows, {"--" + upper(name) + "=7"}}};
        }
        longName.insert(longName.end(), action.begin(), action.end());
        const std::string expected = requestOf(parse(longName));
        ASSERT_NE(expected, "usage problem") << name;
        for (auto [style, arguments] : spellings) {
            arguments.insert(arguments.end(), action.begin(), action.end());
            SCOPED_TRACE(::testing::PrintToString(arguments));
            EXPECT_EQ(requestOf(parse(arguments, style)), expected);
        }
    }
}

TEST(UnattendedOptions, HelpFitsAConsoleAndNamesEveryOption)
{
    // Each system's, with a start-up script's dry run as its scripts write it.
    const std::string help = std::get<ImmediateAnswer>(parse({"--help"})).text +
                             std::get<ImmediateAnswer>(parse({"/?"}, kWindows)).text;
    std::istringstream lines(help);
    for (std::string line; std::getline(lines, line);)
        EXPECT_LE(line.size(), 79u) << line;
    for (const char* part : {"--list", "--set ADAPTER", "--set-match PATTERN", "--timeout SECONDS",
                             "/set:ADAPTER", "--dry-run", "--log FILE", "/log:FILE", "Exit status",
                             "  4  Done, but the list could not be written.",
                             "quorvel --set \"3Com EtherLink III Adapter\" --dry-run\n",
                             R"("%ProgramFiles%\Quorvel\quorvel.com" /set "3Com)"})
        EXPECT_NE(help.find(part), std::string::npos) << part;
}

TEST(UnattendedOptions, WrongCommandLineIsOneLineAndWhereToReadTheUsage)
{
    const Args cases[] = {
        {"--bogus"},
        {"--set"},
        {"--list", "--set", "x"},
        {"--set", "x", "--set-match", "y"},
        {"--set", "A", "--set", "B"},
        {"stray"},
        {"--list", "stray"},
        {"--timeout", "5"},
        {"--list", "--timeout", "0"},
        {"--list", "--timeout", "soon"},
        {"--list", "--timeout", "-1"},
        {"--list", "--timeout", "0x10"},
        {"--list", "--timeout", "5.5"},
        {"--list", "--timeout", "+5"},
        {"--list", "--timeout", " 5"},
        {"--set-match", std::string(257, '*')},
        {"--set=", "Card"},
        {"--set", ""},
        {"--set", "--list"},
        {"/set:", "/list"},
        {"/set", "/list"},
        {"--list=yes"},
        {"--list", "--dry-run"},
        {"--log", "q.log"},
    };
    for (const Args& arguments : cases) {
        SCOPED_TRACE(::testing::PrintToString(arguments));
        for (const OptionStyle style : {kPosix, kWindows}) {
            const ParsedOptions parsed = parse(arguments, style);
            const auto* problem = std::get_if<UsageProblem>(&parsed);
            ASSERT_NE(problem, nullptr);
            EXPECT_FALSE(problem->problem.empty());
            EXPECT_EQ(problem->problem.find('\n'), std::string::npos) << problem->problem;
            EXPECT_EQ(problem->hint, style == kWindows ? "Type \"quorvel /?\" for usage."
                                                       : "Type \"quorvel --help\" for usage.");
        }
    }
}

} // namespace
} // namespace quorvel
