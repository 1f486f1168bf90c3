#include "inventory/lanacfg_contract.h"
#include "platform/system_access.h"
#include "tests/platform/win32/echo_program.h"
#include "tests/support/scratch_folder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using quorvel::SystemCommandRunner;
using quorvel::testing::ChildEnvironment;
using quorvel::testing::EnvironmentVariable;
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
        SystemCommandRunner runner =
            c.reportElsewhere ? SystemCommandRunner(reportFolder) : SystemCommandRunner();
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

// A batch-file decoy, which cmd.exe runs both from a prompt and for CreateProcessW: it
// writes its own path where the echo program writes its record.
void installBatchDecoy(const fs::path& file)
{
    std::ofstream(file, std::ios::binary) << "@echo program: %~f0>\"%QUORVEL_ECHO_RECORD%\"\r\n";
}

// Each PATH and PATHEXT cmd.exe reads in its own way, with a decoy lanacfg in every place a
// search could stop: the renumbering must reach the decoy that cmd.exe itself ran for the
// report command.
TEST(SameLanacfg, BothCommandsFollowCmdsReadingOfPathAndPathext)
{
    const struct {
        const char* what;
        const char* path;    // folders under the scratch folder, "S" standing for it
        const char* pathext; // nullptr: missing
        std::vector<const char*> decoys;
        const char* expected;
    } cases[] = {
        {"a ';' inside quotes is part of the folder",
         "\"S\\tools;old\";S\\tools",
         ".COM;.EXE",
         {"tools;old\\lanacfg.exe", "tools\\lanacfg.exe"},
         "tools;old\\lanacfg.exe"},
        {"a quote inside an entry stays in it",
         "S\\\"tools;old\";S\\other",
         ".COM;.EXE",
         {"tools;old\\lanacfg.exe", "other\\lanacfg.exe"},
         "other\\lanacfg.exe"},
        {"PATHEXT missing",
         "S\\tools",
         nullptr,
         {"tools\\lanacfg.exe", "tools\\lanacfg.cmd"},
         "tools\\lanacfg.cmd"},
        {"PATHEXT missing, .com first",
         "S\\tools",
         nullptr,
         {"tools\\lanacfg.exe", "tools\\lanacfg.com", "tools\\lanacfg.cmd"},
         "tools\\lanacfg.com"},
        {"PATHEXT in its own order",
         "S\\tools",
         ".EXE;.CMD",
         {"tools\\lanacfg.exe", "tools\\lanacfg.cmd"},
         "tools\\lanacfg.exe"},
        {"an empty entry",
         "S\\tools;;S\\other",
         ".COM;.EXE;.BAT;.CMD",
         {"tools\\lanacfg.cmd", "other\\lanacfg.exe"},
         "tools\\lanacfg.cmd"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const ScratchFolder current(ScratchFolder::Enter::Yes);
        const ScratchFolder scratch;
        for (const fs::path decoy : c.decoys) {
            fs::create_directories((scratch / decoy).parent_path());
            if (decoy.extension() == ".cmd")
                installBatchDecoy(scratch / decoy);
            else
                installEcho((scratch / decoy).parent_path(), decoy.filename().string());
        }
        std::string path = c.path;
        for (std::size_t at = path.find('S'); at != std::string::npos;
             at = path.find('S', at + scratch.path().string().size()))
            path.replace(at, 1, scratch.path().string());
        const EnvironmentVariable pathVariable("PATH", path.c_str());
        const EnvironmentVariable pathextVariable("PATHEXT", c.pathext);
        const fs::path recordFile = current / "record.txt";
        ChildEnvironment env;
        env.set("QUORVEL_ECHO_RECORD", recordFile.string());

        for (const std::string& line : {quorvel::reportCommand(), quorvel::renumberCommand("3")}) {
            SCOPED_TRACE(line);
            fs::remove(recordFile);
            SystemCommandRunner().run(line);
            const auto record = readEchoRecord(recordFile);
            ASSERT_TRUE(record);
            // A batch file's echo ends its line in CR LF.
            std::string program = record->program.string();
            if (!program.empty() && program.back() == '\r')
                program.pop_back();
            EXPECT_TRUE(sameFile(program, scratch / c.expected)) << program;
        }
    }
}

} // namespace
