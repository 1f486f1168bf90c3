#include "tests/support/fake_lanacfg.h"
#include "unattended/byte_output.h"
#include "unattended/unattended_mode.h"

#include <gtest/gtest.h>
#include <optional>
#include <regex>
#include <string>
#include <vector>

namespace quorvel {
namespace {

using testing::joinLines;

struct CapturedOutput : ByteOutput {
    bool write(std::string_view text) override
    {
        if (closed)
            return false;
        this->text += text;
        return true;
    }
    std::string text;
    bool closed = false;
};

// The --log file's lines, or its failure while `logRefused`.
std::vector<std::string> logLines;
bool logRefused = false;

const std::string kNetBEUI = "-->NetBEUI Protocol-->";
const std::string k3ComOn4 =
    joinLines({"Lana:  4", kNetBEUI + "3Com", "Lana:  2", kNetBEUI + "In\ttel"});
const std::string k3ComOn0 =
    joinLines({"Lana:  0", kNetBEUI + "3Com", "Lana:  2", kNetBEUI + "In\ttel"});

struct RunResult {
    int status;
    std::string out;
    std::string err;
    std::vector<RenumberingRecord> records;
};

RunResult run(std::vector<std::string> arguments, const std::string& before,
              CommandOutcome renumbering, const std::string& after, bool systemLogRefuses = false,
              bool outputClosed = false)
{
    testing::FakeReportFiles files;
    testing::RenumberingLanacfg lanacfg(files);
    if (!before.empty())
        lanacfg.nextReport = before;
    lanacfg.renumbering = renumbering;
    lanacfg.after = after;
    testing::FakeRenumberingLock lock;
    testing::FakeRenumberingLog log;
    log.refusing = systemLogRefuses;
    const RunRecords records{
        log,
        [](const std::string& path, std::string_view line) {
            if (logRefused)
                throw OperationError("Could not write the log file \"" + path + "\": no share");
            logLines.emplace_back(line);
        },
        [] { return std::string("PC042"); }, [] { return std::string("ad\rmin"); }};
    CapturedOutput out;
    out.closed = outputClosed;
    CapturedOutput err;
    arguments.insert(arguments.end(), {"--log", "q.log"});
    const int status = runUnattended(arguments, "1.2.3", OptionStyle::Posix, lanacfg, files, lock,
                                     true, records, out, err);
    return {status, out.text, err.text, log.records};
}

TEST(UnattendedRun, EachAttemptGoesIntoTheLogsAndOneLineTellsWhatWasDone)
{
    const std::string command = "lanacfg setlananumber 4 0";
    const std::string odd = joinLines({"Lana:  4 & x", kNetBEUI + "3Com"});
    const struct {
        const char* name;
        std::vector<std::string> arguments;
        std::string before;
        CommandOutcome renumbering;
        std::string after;
        int status;
        std::string error;
        std::optional<RenumberingRecord> record;
        std::string logLine; // after the time, the computer, the user and the version
    } cases[] = {
        {"renumbered",
         {"--set", "3Com"},
         k3ComOn4,
         {},
         k3ComOn0,
         0,
         "quorvel: \"3Com\" renumbered from LANA 4 to LANA 0\n",
         RenumberingRecord{RenumberingResult::Renumbered, RenumberingProgram::Options, "3Com", "4",
                           "0", command, "exited with status 0"},
         "set\t3Com\t4\t0\trenumbered\t0"},
        {"already",
         {"--set-match", "3c*"},
         k3ComOn0,
         {},
         k3ComOn0,
         0,
         "quorvel: \"3Com\" already on LANA 0\n",
         RenumberingRecord{RenumberingResult::AlreadyOnLana0, RenumberingProgram::Options, "3Com",
                           "0", "0", "", "it shows LANA 0 already"},
         "set-match\t3Com\t0\t0\talready\t0"},
        {"failed",
         {"--set", "3Com"},
         k3ComOn4,
         {CommandOutcome::End::Exited, 5},
         k3ComOn4,
         1,
         "quorvel: \"3Com\" still shows LANA \"4\": the renumbering command \"" + command +
             "\" exited with status 5\n",
         RenumberingRecord{RenumberingResult::Failed, RenumberingProgram::Options, "3Com", "4", "4",
                           command, "exited with status 5"},
         "set\t3Com\t4\t4\tfailed\t1"},
        {"refused",
         {"--set", "3Com"},
         odd,
         {},
         odd,
         3,
         "quorvel: The LANA text \"4 & x\" is not a LANA number, so no renumbering command was "
         "run.\n",
         RenumberingRecord{RenumberingResult::Refused, RenumberingProgram::Options, "3Com", "4 & x",
                           std::nullopt, "",
                           "The LANA text \"4 & x\" is not a LANA number, so no renumbering "
                           "command was run."},
         "set\t3Com\t4 & x\t\trefused\t3"},
        {"not listed",
         {"--set-match", "x\ty"},
         k3ComOn4,
         {},
         k3ComOn4,
         2,
         "  In\\x09tel\n",
         std::nullopt,
         "set-match\tx\\x09y\t\t\tnot-listed\t2"},
        {"no report",
         {"--set", "3Com"},
         "",
         {},
         "",
         3,
         "lanapaths.txt",
         std::nullopt,
         "set\t3Com\t\t\tno-report\t3"},
        {"listed",
         {"--list"},
         k3ComOn4,
         {},
         k3ComOn4,
         0,
         "",
         std::nullopt,
         "list\t\t\t\tlisted\t0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        logLines.clear();
        const RunResult done = run(c.arguments, c.before, c.renumbering, c.after);
        EXPECT_EQ(done.status, c.status);
        EXPECT_NE(done.err.find(c.error), std::string::npos) << done.err;
        ASSERT_EQ(done.records.size(), c.record ? 1u : 0u);
        if (c.record) {
            const RenumberingRecord& record = done.records.front();
            EXPECT_EQ(record.result, c.record->result);
            EXPECT_EQ(record.program, c.record->program);
            EXPECT_EQ(record.adapterName, c.record->adapterName);
            EXPECT_EQ(record.lanaBefore, c.record->lanaBefore);
            EXPECT_EQ(record.lanaAfter, c.record->lanaAfter);
            EXPECT_EQ(record.command, c.record->command);
            EXPECT_EQ(record.commandEnd, c.record->commandEnd);
        }
        ASSERT_EQ(logLines.size(), 1u);
        EXPECT_TRUE(
            std::regex_match(logLines.front(), std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ\t)"
                                                          R"(PC042\tad\\x0dmin\t1\.2\.3\t.*)")))
            << logLines.front();
        EXPECT_TRUE(logLines.front().ends_with("\t1.2.3\t" + c.logLine)) << logLines.front();
    }
}

TEST(UnattendedRun, NeitherTheLogsNorALostListChangeWhatTheRenumberingCameTo)
{
    const struct {
        const char* name;
        bool systemLogRefuses;
        bool logFileRefuses;
        bool outputClosed;
        int status;
        std::string error;
    } cases[] = {
        {"the system's log refuses", true, false, false, 0,
         "quorvel: the system's log did not take the renumbering: the log is full\n"},
        {"the log file refuses", false, true, false, 0,
         "quorvel: Could not write the log file \"q.log\": no share\n"},
        {"standard output closed", false, false, true, 4,
         "quorvel: could not write the list to standard output\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        logRefused = c.logFileRefuses;
        const RunResult done =
            run({"--set", "3Com"}, k3ComOn4, {}, k3ComOn0, c.systemLogRefuses, c.outputClosed);
        logRefused = false;
        EXPECT_EQ(done.status, c.status);
        EXPECT_NE(done.err.find(c.error), std::string::npos) << done.err;
        EXPECT_NE(done.err.find("quorvel: \"3Com\" renumbered from LANA 4 to LANA 0\n"),
                  std::string::npos)
            << done.err;
    }
}

} // namespace
} // namespace quorvel
