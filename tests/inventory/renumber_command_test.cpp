#include "inventory/lanacfg_contract.h"
#include "inventory/system_interfaces.h"
#include "tests/support/error_of.h"

#include <gtest/gtest.h>
#include <string>

namespace quorvel {
namespace {

// The LANA text reaches a command line only as a number: whatever else a report holds never
// becomes part of a command, whichever lanacfg (a batch file too) would read it.
TEST(RenumberCommand, TakesOnlyANumberOrNothing)
{
    const struct {
        std::string lanaText;
        const char* command; // nullptr: refused
    } cases[] = {
        {"3", "lanacfg setlananumber 3 0"},
        {"0", "lanacfg setlananumber 0 0"},
        {"254", "lanacfg setlananumber 254 0"},
        {" \t07 \t", "lanacfg setlananumber  \t07 \t 0"},
        // The LANA list's row -1: the tool itself turns the command down.
        {"", "lanacfg setlananumber  0"},
        {"1000", nullptr},
        {" ", nullptr},
        {"3 (primary)", nullptr},
        {"3 4", nullptr},
        {"-3", nullptr},
        {"3\r", nullptr},
        {"\xe9", nullptr},
        {"\xd9\xa3", nullptr}, // a digit, but not an ASCII one
        {"3 & echo pwned> canary &", nullptr},
        {"3|x", nullptr},
        {"3>x", nullptr},
        {"3^", nullptr},
        {"%PATH%", nullptr},
        {"\"3\"", nullptr},
        {"$(touch canary)", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lanaText);
        if (c.command)
            EXPECT_EQ(renumberCommand(c.lanaText), c.command);
        else
            EXPECT_THROW(renumberCommand(c.lanaText), OperationError);
    }
}

TEST(RenumberCommand, RefusalQuotesTheTextWithControlCharactersEscaped)
{
    EXPECT_EQ(testing::errorOf([] { renumberCommand("2\x1b[2J\r\x7f & x"); }),
              "The LANA text \"2\\x1b[2J\\x0d\\x7f & x\" is not a LANA number, so no renumbering "
              "command was run.");
}

} // namespace
} // namespace quorvel
