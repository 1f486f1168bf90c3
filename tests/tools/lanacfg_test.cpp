#include "expect_refused.h"
#include "lanacfg_run.h"
#include "report_lines.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

using Rows = std::vector<std::pair<std::string, std::string>>;

const Rows kSampleRows = {{"2", "3Com EtherLink III Adapter"}, {"4", "Intel(R) PRO/100 Adapter"}};

const std::string kSmallTable = stateText({{"0", "NetBT", "Net A"},
                                           {"1", "NetBEUI Protocol", "Net A"},
                                           {"2", "NWLink NetBIOS", "Net B"},
                                           {"3", "NetBEUI Protocol", "Net B"}});

class LanacfgTest : public ::testing::Test {
protected:
    ScratchFolder scratch;
    fs::path state = scratch.path() / "state" / "bindings.txt";

    std::string show()
    {
        const RunResult result = runLanacfg(state, {"showlanapaths"});
        EXPECT_EQ(result.exitStatus, 0) << result.err;
        return result.out;
    }
};

TEST_F(LanacfgTest, SampleReportListsItsNetBEUILanAdapters)
{
    EXPECT_EQ(scannedRows(show()), kSampleRows);
    EXPECT_FALSE(fs::exists(state)) << "showing must not write the state file";
}

TEST_F(LanacfgTest, ScanListsTheFirstTenNetBEUILanAdaptersInLanaOrder)
{
    const std::vector<int> netbeuiLans = {254, 240, 220, 201, 200, 150, 128, 100, 99, 40, 17, 5};
    std::vector<std::vector<std::string>> table;
    table.reserve(netbeuiLans.size() + 6);
    for (const int lana : netbeuiLans)
        table.push_back({std::to_string(lana), "NetBEUI Protocol", "Card " + std::to_string(lana)});
    table.push_back({"0", "NetBEUI Protocol", "WAN Miniport (NetBEUI, Dial Out)"});
    table.push_back({"30", "NetBEUI Protocol", "NdisWAN Adapter"});
    for (const int lana : {1, 2, 41, 160})
        table.push_back({std::to_string(lana), lana % 2 ? "NetBT" : "NWLink NetBIOS", "Card 5"});
    writeFile(state, "# written out of order on purpose\n\n" + stateText(table));

    Rows expected;
    for (const int lana : {5, 17, 40, 99, 100, 128, 150, 200, 201, 220})
        expected.emplace_back(std::to_string(lana), "Card " + std::to_string(lana));
    EXPECT_EQ(scannedRows(show()), expected);
}

TEST_F(LanacfgTest, ScannedAdapterGivenLanaZeroIsListedFirst)
{
    const Rows before = scannedRows(show());
    ASSERT_EQ(before, kSampleRows);

    // The utility sends the LANA text exactly as its scan read it.
    const RunResult result = runLanacfg(state, {"setlananumber", before[1].first, "0"});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(scannedRows(show()), (Rows{{"0", "Intel(R) PRO/100 Adapter"}, kSampleRows[0]}));
}

TEST_F(LanacfgTest, SetLanaNumberSwapsOrMovesBindings)
{
    struct Case {
        std::string lana, newLana;
        std::vector<std::string> entries;
    };
    const Case cases[] = {
        {"3",
         "0",
         {"0 -->NetBEUI Protocol-->Net B", "1 -->NetBEUI Protocol-->Net A",
          "2 -->NWLink NetBIOS-->Net B", "3 -->NetBT-->Net A"}},
        {"0",
         "3",
         {"0 -->NetBEUI Protocol-->Net B", "1 -->NetBEUI Protocol-->Net A",
          "2 -->NWLink NetBIOS-->Net B", "3 -->NetBT-->Net A"}},
        {"01",
         "254",
         {"0 -->NetBT-->Net A", "2 -->NWLink NetBIOS-->Net B", "3 -->NetBEUI Protocol-->Net B",
          "254 -->NetBEUI Protocol-->Net A"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lana + " -> " + c.newLana);
        writeFile(state, kSmallTable);
        const RunResult result = runLanacfg(state, {"setlananumber", c.lana, c.newLana});
        EXPECT_EQ(result.exitStatus, 0) << result.err;
        EXPECT_EQ(result.out + result.err, "");
        EXPECT_EQ(reportEntries(show()), c.entries);
    }
}

TEST_F(LanacfgTest, SameNumberChangesNothing)
{
    EXPECT_EQ(runLanacfg(state, {"setlananumber", "4", "4"}).exitStatus, 0);
    EXPECT_FALSE(fs::exists(state));

    writeFile(state, "# kept as written\n" + kSmallTable);
    const auto before = fs::last_write_time(state);
    EXPECT_EQ(runLanacfg(state, {"setlananumber", "2", "2"}).exitStatus, 0);
    EXPECT_EQ(readFile(state), "# kept as written\n" + kSmallTable);
    EXPECT_EQ(fs::last_write_time(state), before);
}

TEST_F(LanacfgTest, BadCommandLinesAreRefusedAndChangeNothing)
{
    struct Case {
        std::vector<std::string> args;
        int exitStatus;
    };
    const Case cases[] = {
        {{}, 2},
        {{"frobnicate"}, 2},
        {{"SHOWLANAPATHS"}, 2},
        {{"showlanapaths", "extra"}, 2},
        {{"--help", "extra"}, 2},
        {{"setlananumber"}, 2},
        {{"setlananumber", "1"}, 2},
        {{"setlananumber", "1", "0", "2"}, 2},
        {{"setlananumber", "3x", "0"}, 2},
        {{"setlananumber", "-1", "0"}, 2},
        {{"setlananumber", "+2", "0"}, 2},
        {{"setlananumber", "", "0"}, 2},
        {{"setlananumber", " 3", "0"}, 2},
        {{"setlananumber", "1", "255"}, 2},
        {{"setlananumber", "1", "99999999999999999999"}, 2},
        {{"setlananumber", "1", "0\n2"}, 2},
        {{"setlananumber", "9", "0"}, 1},
        {{"setlananumber", "9", "9"}, 1},
    };
    for (const Case& c : cases) {
        std::string trace;
        for (const std::string& arg : c.args)
            trace += "[" + arg + "]";
        SCOPED_TRACE(trace);
        writeFile(state, kSmallTable);
        expectRefused(runLanacfg(state, c.args), c.exitStatus);
        EXPECT_EQ(readFile(state), kSmallTable);
    }
}

TEST_F(LanacfgTest, MalformedStateFileIsRefusedNamingFileAndLine)
{
    struct Case {
        std::string text;
        int line;
    };
    const Case cases[] = {
        {"0\tNetBT\n", 1},
        {"# ok\n\n0\tNetBT\tNet A\r\n1\tNetBT\tNet B\n2 NetBT Net C\n", 5},
        {"0\tNetBT\tNet A\n0\tNetBT\tNet B\n", 2},
        {"255\tNetBT\tNet A\n", 1},
        {"-1\tNetBT\tNet A\n", 1},
        {"0\tNetBT\tNet A\n1\tNetBT-->x\tNet B\n", 2},
        {"0\tNetBT\tNet\x01"
         "A\n",
         1},
        {"0\tNetBT\tNet A\tspare\n", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        writeFile(state, c.text);
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{"showlanapaths"}, {"setlananumber", "0", "1"}}) {
            const RunResult result = runLanacfg(state, args);
            expectRefused(result, 1);
            EXPECT_NE(result.err.find(state.string() + ":" + std::to_string(c.line) + ":"),
                      std::string::npos)
                << result.err;
            EXPECT_EQ(readFile(state), c.text);
        }
    }
}

TEST_F(LanacfgTest, UnreadableOrUnwritableStateIsRefused)
{
    fs::create_directories(state);
    expectRefused(runLanacfg(state, {"showlanapaths"}), 1);
    expectRefused(runLanacfg(state, {"setlananumber", "1", "0"}), 1);

    const fs::path underFile = scratch.path() / "plain-file" / "bindings.txt";
    writeFile(scratch.path() / "plain-file", "not a folder");
    expectRefused(runLanacfg(underFile, {"setlananumber", "1", "0"}), 1);

    // A folder where the temporary file must go: the change cannot be written.
    const fs::path blocked = scratch.path() / "blocked" / "bindings.txt";
    writeFile(blocked, kSmallTable);
    fs::create_directories(blocked.string() + ".tmp");
    expectRefused(runLanacfg(blocked, {"setlananumber", "1", "0"}), 1);
    EXPECT_EQ(readFile(blocked), kSmallTable);
}

TEST_F(LanacfgTest, HelpSaysItIsASimulationAndDocumentsTheStateFile)
{
    const RunResult result = runLanacfg(state, {"--help"});
    EXPECT_EQ(result.exitStatus, 0);
    const std::string firstLine = result.out.substr(0, result.out.find('\n'));
    EXPECT_NE(firstLine.find("simulation of lanacfg for trying Quorvel"), std::string::npos)
        << firstLine;
    EXPECT_NE(firstLine.find("changes nothing on the system"), std::string::npos) << firstLine;
    EXPECT_NE(result.out.find("LANA<TAB>protocol<TAB>adapter"), std::string::npos);
    EXPECT_EQ(result.err, "");
}

} // namespace
