#include "inventory/binding_inventory.h"
#include "inventory/report_reading.h"
#include "tests/support/fake_lanacfg.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace quorvel {
namespace {

using Lines = std::vector<std::string>;
using Rows = std::vector<std::pair<std::string, std::string>>; // LANA text, adapter name

const std::string kNetBEUI = "-->NetBEUI Protocol-->";

Rows scan(const Lines& report)
{
    Rows rows;
    const ReportLineTable lines = ReportLineTable::split(testing::joinLines(report), "report");
    for (const Binding& binding : scanBindings(lines))
        rows.emplace_back(binding.lana, binding.adapterName);
    return rows;
}

Lines lanAdapters(int count)
{
    Lines report = {"LANA paths", ""};
    for (int i = 0; i < count; ++i) {
        report.push_back("Lana:  " + std::to_string(i + 1));
        report.push_back(kNetBEUI + "Card " + std::to_string(i + 1));
    }
    return report;
}

struct ScanCase {
    const char* name;
    Lines report;
    Rows expected;
};

TEST(ReportScan, ListsNetBEUIBindingsOnLanAdaptersOnly)
{
    const std::vector<ScanCase> cases = {
        {"empty report", {}, {}},
        {"no LANA line", {"LANA paths", "", kNetBEUI + "Card"}, {}},
        {"one binding",
         {"Lana:  3", kNetBEUI + "3Com EtherLink III"},
         {{"3", "3Com EtherLink III"}}},
        {"other protocol skipped, scan goes on",
         {"Lana:  0", "-->NetBT-->Intel PRO/100", "Lana:  1", kNetBEUI + "Intel PRO/100"},
         {{"1", "Intel PRO/100"}}},
        {"WAN in the adapter name", {"Lana:  2", kNetBEUI + "WAN Miniport (NetBEUI)"}, {}},
        {"WAN inside a longer word", {"Lana:  2", kNetBEUI + "SWANKY Card"}, {}},
        {"WAN before the marker", {"Lana:  2", "WAN" + kNetBEUI + "Card"}, {}},
        {"WAN without the marker does not matter", {"Lana:  2", "-->WAN-->Card"}, {}},
        {"lower-case wan is not WAN", {"Lana:  4", kNetBEUI + "wan card"}, {{"4", "wan card"}}},
        {"mixed-case Wan is not WAN", {"Lana:  4", kNetBEUI + "NdisWan"}, {{"4", "NdisWan"}}},
        {"lower-case lana: is no LANA line", {"lana:  4", kNetBEUI + "Card"}, {}},
        {"capital LANA: is no LANA line", {"LANA:  4", kNetBEUI + "Card"}, {}},
        {"LANA line too short for its number", {"Lana:", kNetBEUI + "Card"}, {{"", "Card"}}},
        {"number text keeps what follows it",
         {"Lana:  7 (primary)", kNetBEUI + "Card"},
         {{"7 (primary)", "Card"}}},
        {"marker later in the line: name still from character 23",
         {"Lana:  5", "xx" + kNetBEUI + "Card"},
         {{"5", "->Card"}}},
        {"binding line of exactly the marker", {"Lana:  6", kNetBEUI}, {{"6", ""}}},
        {"LANA text from seven past the marker, anywhere in the line",
         {"   Lana:  9", kNetBEUI + "Card"},
         {{"9", "Card"}}},
        {"two LANA lines in a row", {"Lana:  1", "Lana:  2", kNetBEUI + "Card"}, {{"2", "Card"}}},
        {"LANA line on the last line is never examined", {"", "Lana:  8"}, {}},
        {"resumes at the binding line, itself a LANA line, after a hit",
         {"Lana:  1", kNetBEUI + "Lana:  2", kNetBEUI + "B"},
         {{"1", "Lana:  2"}, {"2", "B"}}},
        {"no duplicate check",
         {"Lana:  1", kNetBEUI + "A", "Lana:  1", kNetBEUI + "A"},
         {{"1", "A"}, {"1", "A"}}},
    };
    for (const ScanCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(scan(c.report), c.expected);
    }
}

TEST(ReportScan, ListsTheFirstTenQualifyingAdaptersInReportOrder)
{
    const Rows rows = scan(lanAdapters(12));
    ASSERT_EQ(rows.size(), 10u);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].first, std::to_string(i + 1));
        EXPECT_EQ(rows[i].second, "Card " + std::to_string(i + 1));
    }
}

TEST(ReportScan, FindsAdaptersFarIntoALongReport)
{
    Lines report(100'000, "filler line");
    report[99'990] = "Lana:  12";
    report[99'991] = kNetBEUI + "Last Card";
    EXPECT_EQ(scan(report), (Rows{{"12", "Last Card"}}));
}

} // namespace
} // namespace quorvel
