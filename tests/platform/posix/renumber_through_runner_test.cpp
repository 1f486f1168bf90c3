#include "inventory/system_interfaces.h"
#include "platform/system_access.h"
#include "tests/support/scratch_folder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
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

// Each PATH the shell reads in its own way, with a decoy lanacfg, writing its own path, in
// every place a search could stop: the renumbering must reach the decoy that /bin/sh ran.
TEST(SameLanacfg, BothCommandsRunTheDecoyTheShellRuns)
{
    const struct {
        const char* what;
        const char* path; // "S" stands for the scratch folder; the current folder is S/work
        const char* expected;
    } cases[] = {
        {"an empty entry first", ":S/tools", "S/work/lanacfg"},
        {"an empty entry between", "S/none::S/tools", "S/work/lanacfg"},
        {"an empty entry last", "S/none:", "S/work/lanacfg"},
        {"an empty PATH", "", "S/work/lanacfg"},
        {"a folder of that name, a file that is not executable", "S/folder:S/plain:S/tools",
         "S/tools/lanacfg"},
        {"a Latin-1 folder", "S/r\xe9seau:S/tools", "S/r\xe9seau/lanacfg"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const ScratchFolder scratch(ScratchFolder::Enter::Yes);
        fs::create_directories(scratch / "work");
        fs::current_path(scratch / "work");
        const auto expand = [&](std::string text) {
            for (std::size_t at = text.find('S'); at != std::string::npos;
                 at = text.find('S', at + scratch.path().string().size()))
                text.replace(at, 1, scratch.path().string());
            return text;
        };
        for (const char* folder : {"tools", "r\xe9seau", "work"}) {
            const fs::path decoy = scratch / folder / "lanacfg";
            fs::create_directories(decoy.parent_path());
            std::ofstream(decoy) << "#!/bin/sh\nprintf '%s\\n' \"$0\" > '"
                                 << (scratch / "ran.txt").string() << "'\n";
            fs::permissions(decoy, fs::perms::owner_all);
        }
        fs::create_directories(scratch / "folder" / "lanacfg");
        std::ofstream(scratch / "plain" / "lanacfg") << "#!/bin/sh\n";
        const std::string expected = expand(c.expected);
        const std::string path = expand(c.path);
        const std::string previous = std::getenv("PATH");
        ::setenv("PATH", path.c_str(), 1);
        for (const char* line :
             {"cmd /c lanacfg showlanapaths >lanapaths.txt", "lanacfg setlananumber 3 0"}) {
            SCOPED_TRACE(line);
            fs::remove(scratch / "ran.txt");
            SystemCommandRunner().run(line);
            std::ifstream ran(scratch / "ran.txt");
            std::string program;
            std::getline(ran, program);
            std::error_code error;
            EXPECT_TRUE(fs::equivalent(program, expected, error))
                << program << " is not " << expected;
        }
        ::setenv("PATH", previous.c_str(), 1);
    }
}

} // namespace
} // namespace quorvel
