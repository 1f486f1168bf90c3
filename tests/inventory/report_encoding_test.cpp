#include "inventory/report_encoding.h"
#include "inventory/system_interfaces.h"
#include "tests/support/error_of.h"

#include <gtest/gtest.h>
#include <string>
#include <string_view>

namespace quorvel {
namespace {

using namespace std::string_view_literals;

std::optional<std::string> refuseAnyText(std::u16string_view /*text*/)
{
    return std::nullopt;
}

TEST(ReportEncoding, Utf16WithItsMarkIsConvertedAndOtherBytesStayAsTheyAre)
{
    const struct {
        const char* name;
        std::string_view file;
        std::string_view scanned;
    } cases[] = {
        {"no mark", "Lana: 2\r\n\xFF\xFE\xE9\n", "Lana: 2\r\n\xFF\xFE\xE9\n"},
        {"UTF-16 LE without a mark", "L\0a\0"sv, "La"},
        {"UTF-16 BE without a mark", "\0L\0:"sv, "L:"},
        {"UTF-8 mark", "\xEF\xBB\xBFLana: 2\r\n", "Lana: 2\r\n"},
        {"UTF-16 LE", "\xFF\xFEL\0:\0 \0\xE9\0\r\0\n\0"sv, "L: \xC3\xA9\r\n"},
        {"UTF-16 BE", "\xFE\xFF\0L\0:\x20\xAC"sv, "L:\xE2\x82\xAC"},
        {"surrogate pair", "\xFF\xFE\x3D\xD8\x00\xDE"sv, "\xF0\x9F\x98\x80"},
        {"only a mark", "\xFF\xFE", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(reportBytes(std::string(c.file), "/w/lanapaths.txt", utf8FromUtf16), c.scanned);
    }
}

TEST(ReportEncoding, Utf16ThatCannotBeConvertedIsAnErrorNamingTheReport)
{
    const struct {
        const char* name;
        std::string_view file;
        NarrowFromUtf16 narrow;
        const char* reason;
    } cases[] = {
        {"odd byte count", "\xFF\xFEL\0a"sv, utf8FromUtf16, "it is 5 bytes long, an odd number"},
        {"lone high surrogate", "\xFF\xFEL\0\x3D\xD8"sv, utf8FromUtf16,
         "its character 2 is half of a surrogate pair (0xD83D) without its other half"},
        {"lone low surrogate", "\xFE\xFF\xDE\0\0L"sv, utf8FromUtf16,
         "its character 1 is half of a surrogate pair (0xDE00) without its other half"},
        {"not in the code page", "\xFF\xFEL\0"sv, refuseAnyText,
         "it holds a character that the system's code page lacks"},
        {"NUL character", "\xFE\xFF\0L\0\0"sv, utf8FromUtf16,
         "its character 2 is NUL, which a text report never holds"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            reportBytes(std::string(c.file), "/w/lanapaths.txt", c.narrow);
            ADD_FAILURE() << "no error";
        } catch (const OperationError& error) {
            EXPECT_EQ(std::string(error.what()),
                      std::string("Could not read \"/w/lanapaths.txt\": it is UTF-16 text (it "
                                  "starts with that byte-order mark), but ") +
                          c.reason);
        }
    }
}

TEST(ReportEncoding, NulBytesOutsidePlainUtf16AreAnErrorNamingTheReport)
{
    for (const auto& [file, message] : {
             std::pair{"Lana: 2\r\n-\0>"sv, "\"/w/lanapaths.txt\": its byte 11 is NUL, which a "
                                            "text report never holds"},
             std::pair{"\xEF\xBB\xBFL\0"sv, "its byte 5 is NUL"},
             std::pair{"\xE9\0L\0"sv, "its byte 2 is NUL"},
             std::pair{"L\0a"sv, "(every second byte of its first characters is NUL), but it is 3"},
         }) {
        SCOPED_TRACE(message);
        const std::string error = testing::errorOf(
            [file = file] { reportBytes(std::string(file), "/w/lanapaths.txt", utf8FromUtf16); });
        EXPECT_NE(error.find(message), std::string::npos) << error;
    }
}

} // namespace
} // namespace quorvel
