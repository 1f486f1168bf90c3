#include "inventory/system_interfaces.h"
#include "platform/command_line_words.h"
#include "platform/system_access.h"
#include "tests/support/error_of.h"
#include "tests/support/scratch_folder.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <thread>

namespace {

namespace fs = std::filesystem;
using quorvel::CommandOutcome;
using quorvel::OnTimeout;
using quorvel::OperationError;
using quorvel::SystemCommandRunner;
using quorvel::testing::PathPrefix;
using quorvel::testing::ScratchFolder;
using End = CommandOutcome::End;
using namespace std::chrono_literals;

// Each test works in a fresh folder of its own, which is also first on PATH.
class SystemCommandRunnerTest : public ::testing::Test {
protected:
    std::string contents(const std::string& name) const
    {
        std::ifstream in(scratch / name, std::ios::binary);
        if (!in)
            return "<missing>";
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    void writeScript(const std::string& name, const std::string& body)
    {
        std::ofstream(scratch / name) << "#!/bin/sh\n" << body;
        fs::permissions(scratch / name, fs::perms::owner_all);
    }

    bool appearsWithin(const std::string& name, std::chrono::seconds limit) const
    {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (!fs::exists(scratch / name) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(20ms);
        return fs::exists(scratch / name);
    }

    ScratchFolder scratch{ScratchFolder::Enter::Yes};
    PathPrefix onPath{scratch.path()};
    SystemCommandRunner runner;
};

TEST_F(SystemCommandRunnerTest, InterpreterFormRedirectsThroughTheShell)
{
    runner.run("cmd /c echo hello >out.txt");
    EXPECT_EQ(contents("out.txt"), "hello\n");
}

TEST_F(SystemCommandRunnerTest, RedirectionNeverWritesThroughAnExistingName)
{
    std::ofstream(scratch / "target.txt") << "keep";
    fs::create_symlink(scratch / "target.txt", scratch / "link.txt");
    for (const char* name : {"target.txt", "link.txt"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(runner.run(std::string("cmd /c echo new >") + name).succeeded());
        EXPECT_EQ(contents("target.txt"), "keep");
    }
}

TEST_F(SystemCommandRunnerTest, WaitsForTheCommandToEndAndTellsHowItEnded)
{
    EXPECT_TRUE(runner.run("CMD /C sleep 0.3; echo late >late.txt").succeeded());
    EXPECT_EQ(contents("late.txt"), "late\n");

    writeScript("fails", "exit 3\n");
    const struct {
        const char* command;
        End end;
        std::int64_t value;
    } cases[] = {
        {"cmd /c exit 0", End::Exited, 0},
        {"cmd /c exit 7", End::Exited, 7},
        {"cmd /c quorvel-no-such-program", End::Exited, 127},
        {"cmd /c kill -KILL $$", End::Signalled, SIGKILL},
        {"fails setlananumber 3 0", End::Exited, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        const CommandOutcome outcome = runner.run(c.command);
        EXPECT_EQ(outcome.end, c.end);
        EXPECT_EQ(outcome.value, c.value);
    }
    // The shell's status for a program it does not find, as the runner states it.
    EXPECT_EQ(runner.run("cmd /c quorvel-no-such-program").value,
              runner.interpreterNotFound().status);
}

TEST_F(SystemCommandRunnerTest, OtherCommandLinesNeverReachAShell)
{
    writeScript("record", "printf '%s\\n' \"$@\" > args.txt\n");
    runner.run("record a;touch canary \"$(touch canary)\" `touch canary` x|touch canary"
               " y&&touch canary \"two words\" >redirected");

    EXPECT_EQ(contents("args.txt"),
              "a;touch\ncanary\n$(touch canary)\n`touch\ncanary`\nx|touch\ncanary\n"
              "y&&touch\ncanary\ntwo words\n>redirected\n");
    EXPECT_FALSE(fs::exists(scratch / "canary"));
    EXPECT_FALSE(fs::exists(scratch / "redirected"));
}

TEST_F(SystemCommandRunnerTest, CommandsThatCannotStartAreErrorsNamingThem)
{
    using namespace std::string_literals;
    for (const std::string& line :
         {"quorvel-no-such-program setlananumber 3 0"s, ""s, " \t"s,
          "lanacfg setlananumber 3\0x 0"s, "cmd /c echo a\0b >out.txt"s}) {
        SCOPED_TRACE(line);
        try {
            runner.run(line);
            ADD_FAILURE() << "no error";
        } catch (const OperationError& error) {
            EXPECT_NE(
                std::string(error.what()).find("\"" + quorvel::commandLineForMessages(line) + "\""),
                std::string::npos)
                << error.what();
        }
    }
}

TEST_F(SystemCommandRunnerTest, TimeLimitStopsTheCommandWithAllItStartedOrLeavesItRunning)
{
    const CommandOutcome stopped =
        runner.run("cmd /c sleep 2; touch after-stop", quorvel::TimeLimit{1s, OnTimeout::Stop});
    EXPECT_EQ(stopped.end, End::TimedOutStopped);
    EXPECT_EQ(stopped.value, 1);

    writeScript("slow", "sleep 2\ntouch after-leave\n");
    const CommandOutcome left = runner.run("slow", quorvel::TimeLimit{1s, OnTimeout::LeaveRunning});
    EXPECT_EQ(left.end, End::TimedOutLeftRunning);
    EXPECT_TRUE(appearsWithin("after-leave", 10s));
    EXPECT_FALSE(fs::exists(scratch / "after-stop"));
}

TEST(SystemCommandRunner, ReportCommandFromAFolderThatPathCannotNameIsRefused)
{
    const ScratchFolder start(ScratchFolder::Enter::Yes, "x:y");
    const quorvel::testing::EnvironmentVariable path("PATH", ".:/usr/bin:/bin");
    quorvel::PrivateReportFolder reportFolder;
    const std::string error = quorvel::testing::errorOf(
        [&reportFolder] { SystemCommandRunner(reportFolder).run("cmd /c touch ran"); });
    EXPECT_NE(error.find(start.path().string() + "\", and that folder's name holds \":\""),
              std::string::npos)
        << error;
    EXPECT_FALSE(fs::exists(reportFolder.path() + "/ran"));
}

} // namespace
