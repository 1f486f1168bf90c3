#include "platform/command_line_words.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using quorvel::interpreterCommand;
using quorvel::splitWindowsCommandLine;
using Words = std::vector<std::string>;
using namespace std::string_view_literals;

TEST(SplitWindowsCommandLine, FollowsTheRuntimeRules)
{
    const struct {
        std::string_view line;
        Words words;
    } cases[] = {
        {"", {}},
        {" \t ", {}},
        {"lanacfg setlananumber 3 0", {"lanacfg", "setlananumber", "3", "0"}},
        {"  a\t\tb  ", {"a", "b"}},
        {R"("a b" c)", {"a b", "c"}},
        {R"(a"b c"d)", {"ab cd"}},
        {R"("")", {""}},
        {R"(a "" b)", {"a", "", "b"}},
        {R"("a""b")", {"a\"b"}},
        {R"(a""b)", {"ab"}},
        {R"(a\b c\\d)", {R"(a\b)", R"(c\\d)"}},
        {R"(a\\)", {R"(a\\)"}},
        {R"(\"a)", {"\"a"}},
        {R"(\\"a b")", {R"(\a b)"}},
        {R"(\\\"a b)", {R"(\"a)", "b"}},
        {R"(\\\\"a b")", {R"(\\a b)"}},
        {R"("a\"b")", {"a\"b"}},
        {R"("unterminated x)", {"unterminated x"}},
        {R"(a ")", {"a", ""}},
        {R"#(a;b "$(touch x)" `y` p|q r&&s >out)#",
         {"a;b", "$(touch x)", "`y`", "p|q", "r&&s", ">out"}},
        {"a\nb \xC3\xA9", {"a\nb", "\xC3\xA9"}},
        {"a\0b c"sv, {std::string("a\0b", 3), "c"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.line));
        EXPECT_EQ(splitWindowsCommandLine(c.line), c.words);
    }
}

TEST(InterpreterCommand, RecognisesOnlyCmdSlashC)
{
    const struct {
        std::string_view line;
        std::optional<std::string> rest;
    } cases[] = {
        {"cmd /c lanacfg showlanapaths >lanapaths.txt", "lanacfg showlanapaths >lanapaths.txt"},
        {" \tCMD\t/C  echo  a ", "echo  a "},
        {"cMd /c", ""},
        {"cmd /c ", ""},
        {"cmdx /c a", std::nullopt},
        {"cmd /cx a", std::nullopt},
        {"cmd/c a", std::nullopt},
        {"cmd /k a", std::nullopt},
        {"cmd", std::nullopt},
        {"lanacfg setlananumber 3 0", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.line));
        EXPECT_EQ(interpreterCommand(c.line), c.rest);
    }
}

} // namespace
