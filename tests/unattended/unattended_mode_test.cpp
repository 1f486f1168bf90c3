#include "tests/support/fake_lanacfg.h"
#include "unattended/byte_output.h"
#include "unattended/unattended_mode.h"

#include <gtest/gtest.h>
#include <regex>
#include <string>
#include <vector>

namespace quorvel {
namespace {

struct CapturedOutput : ByteOutput {
    bool write(std::string_view text) override { return !closed && (this->text += text, true); }
    std::string text;
    bool closed = false;
};

// The --log file's lines; a failure while `logFileRefuses`.
std::vector<std::string> logLines;
bool logFileRefuses = false;

TEST(UnattendedRun, RecordsEachAttemptTellsWhatWasDoneAndLogsTheRun)
{
    const std::string to = "\n-->NetBEUI Protocol-->";
    const std::string on4 = "Lana:  4" + to + "3Com\nLana:  2" + to + "I\tX\n";
    const std::string on0 = "Lana:  0" + to + "3Com\nLana:  2" + to + "I\tX\n";
    const std::string odd = "Lana:  4 & x" + to + "3Com\n";
    const std::string renumbered = "quorvel: \"3Com\" renumbered from LANA 4 to LANA 0\n";
    const std::string ran = " [lanacfg setlananumber 4 0] exited with status ";
    const std::string refusal = "The LANA text \"4 & x\" is not a LANA number, so no renumbering "
                                "command was run.";
    const struct {
        const char* option;
        const char* value;
        bool dryRun;
        const char* trouble; // "system log", "log file" or "output" refusing
        const std::string& before;
        int exitStatus; // of the renumbering command, after which LANA 0 shows if it is 0
        int status;
        std::string err;     // part of standard error
        std::string records; // result, program, adapter, LANAs, [command] and how it ended
        std::string logLine; // after the time, the names and the version
    } cases[] = {
        {"--set", "3Com", false, "", on4, 0, 0, renumbered, "0 1 3Com 4 0" + ran + "0",
         "set\t3Com\t4\t0\trenumbered\t0"},
        {"--set-match", "3c*", false, "", on0, 0, 0, "quorvel: \"3Com\" already on LANA 0\n",
         "1 1 3Com 0 0 [] it shows LANA 0 already", "set-match\t3Com\t0\t0\talready\t0"},
        {"--set", "3Com", false, "", on4, 5, 1, "exited with status 5\n",
         "3 1 3Com 4 4" + ran + "5", "set\t3Com\t4\t4\tfailed\t1"},
        {"--set", "3Com", false, "", odd, 0, 3, refusal, "2 1 3Com 4 & x - [] " + refusal,
         "set\t3Com\t4 & x\t\trefused\t3"},
        {"--set", "3Com", true, "", on4, 0, 0,
         "quorvel: dry run: \"lanacfg setlananumber 4 0\" would give \"3Com\" LANA 0\n", "",
         "set-dry-run\t3Com\t4\t\trenumbered\t0"},
        {"--set-match", "x\ty", true, "", on4, 0, 2,
         "matches \"x\\x09y\"; the listed adapters are:\n  3Com\n  I\\x09X\n", "",
         "set-match-dry-run\tx\\x09y\t\t\tnot-listed\t2"},
        {"--set", "3Com", false, "system log", on4, 0, 0, "the log is full\n" + renumbered, "",
         "set\t3Com\t4\t0\trenumbered\t0"},
        {"--set", "3Com", false, "log file", on4, 0, 0, "Could not write \"q.log\": no share\n",
         "0 1 3Com 4 0" + ran + "0", ""},
        {"--set", "3Com", false, "output", on4, 0, 4, "standard output\n" + renumbered,
         "0 1 3Com 4 0" + ran + "0", "set\t3Com\t4\t0\trenumbered\t4"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.option) + " " + c.value + " " + c.trouble);
        testing::FakeReportFiles files;
        testing::FakeLanacfg lanacfg(files);
        lanacfg.nextReport = c.before;
        lanacfg.renumberingEnd = {CommandOutcome::End::Exited, c.exitStatus};
        lanacfg.after = c.exitStatus == 0 ? on0 : c.before;
        testing::FakeRenumberingLock lock;
        testing::FakeRenumberingLog log;
        log.refusing = c.trouble == std::string("system log");
        logFileRefuses = c.trouble == std::string("log file");
        CapturedOutput out;
        out.closed = c.trouble == std::string("output");
        CapturedOutput err;
        const RunRecords records{
            log,
            [](const std::string& path, std::string_view line) {
                logFileRefuses ? throw OperationError("Could not write \"" + path + "\": no share")
                               : logLines.emplace_back(line);
            },
            [] { return std::string("PC042"); }, [] { return std::string("ad\rmin"); }};
        std::vector<std::string> arguments = {"--log", "q.log", c.option, c.value};
        if (c.dryRun)
            arguments.emplace_back("--dry-run");
        logLines.clear();
        EXPECT_EQ(runUnattended(arguments, "1.2.3", OptionStyle::Posix, lanacfg, files, lock, true,
                                records, out, err),
                  c.status);
        EXPECT_NE(err.text.find(c.err), std::string::npos) << err.text;
        std::string recorded;
        for (const RenumberingRecord& record : log.records)
            recorded += testing::recordText(record);
        EXPECT_EQ(recorded, c.records);
        // A dry run takes no lock and runs nothing but the report command.
        EXPECT_EQ(lock.events.empty(), c.dryRun);
        EXPECT_TRUE(!c.dryRun || lanacfg.commands.size() == 1u);
        ASSERT_EQ(logLines.size(), c.logLine.empty() ? 0u : 1u);
        for (const std::string& line : logLines)
            EXPECT_TRUE(std::regex_match(line, std::regex(R"(\d{4}(-\d\d){2}T\d\d(:\d\d){2}Z\t)"
                                                          R"(PC042\tad\\x0dmin\t1\.2\.3\t.*)")) &&
                        line.ends_with("\t1.2.3\t" + c.logLine))
                << line;
    }
}

} // namespace
} // namespace quorvel
