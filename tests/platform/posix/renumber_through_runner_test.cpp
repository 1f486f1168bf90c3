#include "assignment/lana_assignment.h"
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

class NoMessageDialog : public MessageDialog {
public:
    void show(const std::string& text, const std::string& /*title*/, MessageKind /*kind*/) override
    {
        ADD_FAILURE() << "unexpected message: " << text;
    }
};

fs::path writeRecordingTool(const fs::path& folder)
{
    fs::path tool = folder / "lanacfg";
    std::ofstream(tool) << "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" << (folder / "args.txt").string()
                        << "'\n";
    fs::permissions(tool, fs::perms::owner_all);
    return tool;
}

// The assignment through the real runner, with a lanacfg first on PATH that only writes down
// the arguments it was given.
class RecordingTool : public ::testing::Test {
protected:
    std::vector<std::string> assignAndRecord(const std::string& lanaText)
    {
        SystemCommandRunner runner;
        NoMessageDialog messageDialog;
        assignLana0({{lanaText, "Card"}}, 0, runner, messageDialog);

        std::ifstream in(scratch / "args.txt");
        std::vector<std::string> args;
        for (std::string line; std::getline(in, line);)
            args.push_back(line);
        return args;
    }

    ScratchFolder scratch{ScratchFolder::Enter::Yes};
    fs::path tool = writeRecordingTool(scratch.path());
    PathPrefix onPath{scratch.path()};
};

TEST_F(RecordingTool, ReceivesTheLanaTextsWordsAsPlainArguments)
{
    using Args = std::vector<std::string>;
    EXPECT_EQ(assignAndRecord("3"), (Args{"setlananumber", "3", "0"}));
    EXPECT_EQ(assignAndRecord("3 (primary)"), (Args{"setlananumber", "3", "(primary)", "0"}));
}

TEST_F(RecordingTool, ShellSyntaxInTheLanaTextIsNeverExecuted)
{
    using Args = std::vector<std::string>;
    EXPECT_EQ(assignAndRecord("3;touch canary1"), (Args{"setlananumber", "3;touch", "canary1", "0"}));
    EXPECT_EQ(assignAndRecord("$(touch canary2)"), (Args{"setlananumber", "$(touch", "canary2)", "0"}));
    EXPECT_EQ(assignAndRecord("`touch canary3`|x&&touch canary4"),
              (Args{"setlananumber", "`touch", "canary3`|x&&touch", "canary4", "0"}));
    for (const char* canary : {"canary1", "canary2", "canary3", "canary4"}) {
        SCOPED_TRACE(canary);
        EXPECT_FALSE(fs::exists(scratch / canary));
    }
}

} // namespace
} // namespace quorvel
