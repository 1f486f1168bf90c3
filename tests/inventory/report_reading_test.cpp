#include "inventory/report_reading.h"
#include "inventory/system_interfaces.h"
#include "tests/support/error_of.h"
#include "tests/support/fake_lanacfg.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorvel {
namespace {

using Lines = std::vector<std::string>;
using namespace std::string_view_literals;

Lines linesOf(const ReportLineTable& table)
{
    Lines lines;
    for (std::size_t row = 0; row < table.size(); ++row)
        lines.emplace_back(table[row]);
    return lines;
}

TEST(ReportLineTable, SplitsLinesAtCrLfLfOrALoneCr)
{
    const struct {
        std::string_view bytes;
        Lines lines;
    } cases[] = {
        {"", {}},
        {"\n", {""}},
        {"a\nb\n", {"a", "b"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\r\nb", {"a", "b"}},
        {"a\n\r\n\nb", {"a", "", "", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\r\nb\rc", {"a", "", "b", "c"}},
        {"a\n\rb", {"a", "", "b"}},
        {"Lana: 3\0x\n\0\n"sv, {std::string("Lana: 3\0x", 9), std::string(1, '\0')}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::string(c.bytes)));
        EXPECT_EQ(linesOf(ReportLineTable::split(std::string(c.bytes), "report.txt")), c.lines);
    }
}

TEST(ReportLineTable, LinesStayValidWhenTheTableIsMoved)
{
    // Short reports fit in the string's own storage, which a move copies elsewhere.
    ReportLineTable table = ReportLineTable::split("ab\ncd\n", "report.txt");
    const ReportLineTable moved = std::move(table);
    EXPECT_EQ(linesOf(moved), (Lines{"ab", "cd"}));
}

TEST(ReportLineTable, RefusesMoreLinesThanTheLimitNamingTheFile)
{
    EXPECT_EQ(ReportLineTable::split("a\nb\nc", "report.txt", 3).size(), 3u);
    for (const std::string bytes : {"a\nb\nc\nd", "\n\n\n\n", "\r\r\r\n\r"}) {
        SCOPED_TRACE(::testing::PrintToString(bytes));
        try {
            ReportLineTable::split(bytes, "/work/lanapaths.txt", 3);
            ADD_FAILURE() << "no error";
        } catch (const OperationError& error) {
            EXPECT_STREQ(error.what(), "Refused to read \"/work/lanapaths.txt\": it has 4 lines, "
                                       "more than the 3 lines a report can have");
        }
    }
}

// A file whose size says one thing and whose reads another: '\n' for ever.
class ReportOfSize : public OpenReportFile {
public:
    explicit ReportOfSize(std::uintmax_t size) : size_(size) {}
    std::uintmax_t size() override { return size_; }
    std::size_t read(char* into, std::size_t room) override
    {
        std::fill_n(into, room, '\n');
        return room;
    }

private:
    std::uintmax_t size_;
};

TEST(ReportReading, RefusesAFileOverTheLimitOrGrowingPastItWhileRead)
{
    for (const auto& [size, shown] : {std::pair{67'108'865ULL, "67108865"}, {0ULL, "67174400"}}) {
        SCOPED_TRACE(size);
        struct : testing::FakeReportFiles {
            std::unique_ptr<OpenReportFile> open(const std::string& /*path*/) override
            {
                return std::make_unique<ReportOfSize>(size);
            }
            std::uintmax_t size = 0;
        } files;
        files.size = size;
        EXPECT_EQ(testing::errorOf([&] { readReport(files, "/w/lanapaths.txt"); }),
                  std::string("Refused to read \"/w/lanapaths.txt\": it is ") + shown +
                      " bytes, more than the 67108864 bytes a report can be");
    }
}

} // namespace
} // namespace quorvel
