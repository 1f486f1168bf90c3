#include "unattended/unattended_options.h"

#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

namespace quorvel {
namespace {

using Args = std::vector<std::string>;

ParsedOptions parse(const Args& arguments)
{
    return parseUnattendedOptions(arguments, "1.2.3");
}

TEST(UnattendedOptions, ReadsTheRequest)
{
    const auto list = std::get<UnattendedRequest>(parse({"--list"}));
    EXPECT_TRUE(std::holds_alternative<ListRequest>(list.action));
    EXPECT_EQ(list.timeout, kDefaultTimeout);

    // The name's bytes as given, whatever the encoding: a report may hold Latin-1.
    const std::string latin1 = "Carte r\xe9seau \"1\"";
    const auto set = std::get<UnattendedRequest>(parse({"--timeout", "5", "--set", latin1}));
    EXPECT_EQ(std::get<SetRequest>(set.action).adapterName, latin1);
    EXPECT_EQ(set.timeout, std::chrono::seconds(5));
}

TEST(UnattendedOptions, HelpAndVersionAreAnswersForStandardOutput)
{
    const auto help = std::get<ImmediateAnswer>(parse({"--help"})).text;
    EXPECT_NE(help.find("Usage: quorvel"), std::string::npos) << help;
    EXPECT_NE(help.find("--set <adapter>"), std::string::npos) << help;
    EXPECT_NE(help.find("--timeout <seconds>"), std::string::npos) << help;
    EXPECT_EQ(std::get<ImmediateAnswer>(parse({"--version"})).text, "quorvel 1.2.3\n");
}

TEST(UnattendedOptions, RefusesWrongCommandLinesWithTheHelp)
{
    const Args cases[] = {
        {"--bogus"},
        {"--set"},
        {"--list", "--set", "x"},
        {"--set", "A", "--set", "B"},
        {"stray"},
        {"--list", "stray"},
        {"--timeout", "5"},
        {"--list", "--timeout", "0"},
        {"--list", "--timeout", "soon"},
        {"--list", "--timeout", "-1"},
    };
    for (const Args& arguments : cases) {
        SCOPED_TRACE(::testing::PrintToString(arguments));
        const ParsedOptions parsed = parse(arguments);
        const auto* problem = std::get_if<UsageProblem>(&parsed);
        ASSERT_NE(problem, nullptr);
        EXPECT_EQ(problem->text.rfind("quorvel: ", 0), 0u) << problem->text;
        EXPECT_NE(problem->text.find("Usage: quorvel"), std::string::npos) << problem->text;
    }
}

} // namespace
} // namespace quorvel
