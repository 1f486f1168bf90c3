#include "inventory/lanacfg_contract.h"
#include "platform/system_access.h"
#include "tests/platform/win32/echo_program.h"
#include "tests/support/scratch_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;
using quorvel::SystemCommandRunner;
using quorvel::testing::ChildEnvironment;
using quorvel::testing::installEcho;
using quorvel::testing::PathPrefix;
using quorvel::testing::readEchoRecord;
using quorvel::testing::sameFile;
using quorvel::testing::ScratchFolder;

// The report command finds lanacfg through cmd; the renumbering command must reach the same
// lanacfg, or the utility would renumber with one tool and read the report of another. A
// lanacfg.exe also stands beside this test program, where CreateProcessW's own search looks
// first. A script's report command runs in a folder of its own, where the current folder
// must still mean the one the run started in.
TEST(SameLanacfg, BothCommandsRunTheLanacfgThatCmdFinds)
{
    const struct {
        const char* where;
        bool inCurrentFolder;
        bool reportElsewhere;
    } cases[] = {
        {"in the current folder and on PATH", true, false},
        {"only on PATH", false, false},
        {"in the current folder and on PATH, report elsewhere", true, true},
        {"only on PATH, report elsewhere", false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.where);
        quorvel::PrivateReportFolder reportFolder;
        SystemCommandRunner runner = c.reportElsewhere ? SystemCommandRunner(reportFolder) : SystemCommandRunner();
        const ScratchFolder current(ScratchFolder::Enter::Yes);
        const ScratchFolder onPath;
        const PathPrefix prefix(onPath.path());
        const fs::path expected = c.inCurrentFolder ? installEcho(current.path()) : fs::path();
        const fs::path other = installEcho(onPath.path());
        const fs::path recordFile = current / "record.txt";
        ChildEnvironment env;
        env.set("QUORVEL_ECHO_RECORD", recordFile.string());

        for (const std::string& line : {quorvel::reportCommand(), quorvel::renumberCommand("3")}) {
            SCOPED_TRACE(line);
            fs::remove(recordFile);
            runner.run(line);
            const auto record = readEchoRecord(recordFile);
            ASSERT_TRUE(record);
            EXPECT_TRUE(sameFile(record->program, c.inCurrentFolder ? expected : other))
                << record->program;
        }
    }
}

} // namespace
