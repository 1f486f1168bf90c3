#include "assignment/lana_assignment.h"
#include "assignment/message_box.h"
#include "inventory/plain_adapter_list.h"
#include "platform/process_command_runner.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace quorvel {
namespace {

namespace fs = std::filesystem;

class NoMessageBox : public MessageBox {
public:
    void show(const std::string& text, const std::string& /*title*/) override
    {
        ADD_FAILURE() << "unexpected message: " << text;
    }
};

// Puts a lanacfg first on PATH that only writes down the arguments it was given.
class RecordingTool : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::random_device seed;
        dir_ = fs::temp_directory_path() / ("quorvel-assign-" + std::to_string(seed()));
        fs::create_directories(dir_);
        const fs::path tool = dir_ / "lanacfg";
        std::ofstream(tool) << "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" << (dir_ / "args.txt").string()
                            << "'\n";
        fs::permissions(tool, fs::perms::owner_all);
        previousPath_ = std::getenv("PATH") ? std::getenv("PATH") : "";
        setenv("PATH", (dir_.string() + ":" + previousPath_).c_str(), 1);
        previousDir_ = fs::current_path();
        fs::current_path(dir_);
    }
    void TearDown() override
    {
        fs::current_path(previousDir_);
        setenv("PATH", previousPath_.c_str(), 1);
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }

    std::vector<std::string> assignAndRecord(const std::string& lanaText)
    {
        PlainAdapterList lstLANA;
        PlainAdapterList lstCard;
        lstCard.append("Card");
        lstLANA.append(lanaText);
        lstCard.highlight(0);
        ProcessCommandRunner runner;
        NoMessageBox messageBox;
        SetLANAO(lstLANA, lstCard, runner, messageBox);

        std::ifstream in(dir_ / "args.txt");
        std::vector<std::string> args;
        for (std::string line; std::getline(in, line);)
            args.push_back(line);
        return args;
    }

    bool exists(const std::string& name) const { return fs::exists(dir_ / name); }

private:
    fs::path dir_;
    fs::path previousDir_;
    std::string previousPath_;
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
        EXPECT_FALSE(exists(canary));
    }
}

} // namespace
} // namespace quorvel
