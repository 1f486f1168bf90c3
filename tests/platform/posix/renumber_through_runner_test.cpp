#include "inventory/system_interfaces.h"
#include "platform/system_access.h"
#include "tests/support/scratch_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using testing::PathPrefix;
using testing::ScratchFolder;

fs::path writeRecordingTool(const fs::path& folder)
{
    fs::path tool = folder / "lanacfg";
    std::ofstream(tool) << "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" << (folder / "args.txt").string()
                        << "'\n";
    fs::permissions(tool, fs::perms::owner_all);
    return tool;
}

std::vector<std::string> recordedArgs(const fs::path& folder)
{
    std::ifstream in(folder / "args.txt");
    std::vector<std::string> args;
    for (std::string line; std::getline(in, line);)
        args.push_back(line);
    return args;
}

// Renumbering command lines through the real runner, with a lanacfg first on PATH that only
// writes down the arguments it was given. The assignment lets no such LANA text through; the
// runner must not need that to keep shell syntax out.
class RecordingTool : public ::testing::Test {
protected:
    std::vector<std::string> runAndRecord(const std::string& lanaText)
    {
        SystemCommandRunner().run("lanacfg setlananumber " + lanaText + " 0");
        return recordedArgs(scratch.path());
    }

    ScratchFolder scratch{ScratchFolder::Enter::Yes};
    fs::path tool = writeRecordingTool(scratch.path());
    PathPrefix onPath{scratch.path()};
};

TEST_F(RecordingTool, ReceivesTheLanaTextsWordsAsPlainArguments)
{
    using Args = std::vector<std::string>;
    EXPECT_EQ(runAndRecord("3"), (Args{"setlananumber", "3", "0"}));
    EXPECT_EQ(runAndRecord("3 (primary)"), (Args{"setlananumber", "3", "(primary)", "0"}));
}

TEST_F(RecordingTool, ShellSyntaxInTheLanaTextIsNeverExecuted)
{
    using Args = std::vector<std::string>;
    EXPECT_EQ(runAndRecord("3;touch canary1"), (Args{"setlananumber", "3;touch", "canary1", "0"}));
    EXPECT_EQ(runAndRecord("$(touch canary2)"), (Args{"setlananumber", "$(touch", "canary2)", "0"}));
    EXPECT_EQ(runAndRecord("`touch canary3`|x&&touch canary4"),
              (Args{"setlananumber", "`touch", "canary3`|x&&touch", "canary4", "0"}));
    for (const char* canary : {"canary1", "canary2", "canary3", "canary4"}) {
        SCOPED_TRACE(canary);
        EXPECT_FALSE(fs::exists(scratch / canary));
    }
}

// Program paths and arguments pass as the bytes they are: Latin-1 is no UTF-8, which the
// locale may expect.
TEST(RunnerBytes, ProgramInALatin1FolderGetsItsArgumentsAsBytes)
{
    const ScratchFolder scratch(ScratchFolder::Enter::Yes);
    const fs::path folder = scratch / "r\xe9seau";
    fs::create_directory(folder);
    writeRecordingTool(folder);
    const PathPrefix onPath(folder);
    const CommandOutcome outcome = SystemCommandRunner().run("lanacfg setlananumber 3\xe9 0");
    EXPECT_TRUE(outcome.succeeded()) << outcome.description();
    EXPECT_EQ(recordedArgs(folder), (std::vector<std::string>{"setlananumber", "3\xe9", "0"}));
}

} // namespace
} // namespace quorvel
