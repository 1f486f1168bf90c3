#include "inventory/lanacfg_contract.h"
#include "inventory/system_interfaces.h"
#include "platform/system_access.h"
#include "tests/platform/win32/echo_program.h"
#include "tests/support/scratch_folder.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace {

namespace fs = std::filesystem;
using quorvel::CommandOutcome;
using quorvel::OnTimeout;
using quorvel::OperationError;
using quorvel::SystemCommandRunner;
using quorvel::TimeLimit;
using quorvel::testing::besideThisProgram;
using quorvel::testing::ChildEnvironment;
using quorvel::testing::fileBytes;
using quorvel::testing::installEcho;
using quorvel::testing::readEchoRecord;
using quorvel::testing::sameFile;
using quorvel::testing::ScratchFolder;
using End = CommandOutcome::End;
using namespace std::chrono_literals;
using namespace std::string_literals;

// Far beyond what any step takes, even under wine: only a fault reaches it.
constexpr DWORD kHangGuardMilliseconds = 60'000;

bool appearsWithin(const fs::path& file, DWORD milliseconds)
{
    for (DWORD waited = 0; !fs::exists(file) && waited < milliseconds; waited += 20)
        ::Sleep(20);
    return fs::exists(file);
}

// Runs window_program_runner and returns its exit status.
DWORD runInWindowProgram()
{
    const std::wstring program = besideThisProgram("window_program_runner.exe").wstring();
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    // Detached as well: wine hands even a window program the console of its parent.
    if (::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                         DETACHED_PROCESS, nullptr, nullptr, &startup, &started) == 0)
        return static_cast<DWORD>(-1);
    ::CloseHandle(started.hThread);
    auto status = static_cast<DWORD>(-1);
    if (::WaitForSingleObject(started.hProcess, kHangGuardMilliseconds) == WAIT_OBJECT_0)
        ::GetExitCodeProcess(started.hProcess, &status);
    ::CloseHandle(started.hProcess);
    return status;
}

// Whether the echo program that wrote its process id into pidFile has ended, waiting for it
// up to the hang guard; nothing when it had not written its id.
std::optional<bool> echoHasEnded(const fs::path& pidFile)
{
    const std::string pid = fileBytes(pidFile);
    if (pid.empty() || pid.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, std::stoul(pid));
    if (process == nullptr)
        return true; // gone already
    const bool ended = ::WaitForSingleObject(process, kHangGuardMilliseconds) == WAIT_OBJECT_0;
    ::CloseHandle(process);
    return ended;
}

// Each test works in a fresh current folder holding a fake lanacfg.exe, which records how it
// was started into record.txt.
class SystemCommandRunnerTest : public ::testing::Test {
protected:
    SystemCommandRunnerTest() { env.set("QUORVEL_ECHO_RECORD", recordFile.string()); }

    ScratchFolder scratch{ScratchFolder::Enter::Yes};
    fs::path tool = installEcho(scratch.path());
    fs::path recordFile = scratch / "record.txt";
    ChildEnvironment env;
    SystemCommandRunner runner;
};

TEST_F(SystemCommandRunnerTest, TheCommandLineArrivesAsComposed)
{
    const std::string lines[] = {
        "lanacfg setlananumber \"3 (x)\" 0   ",
        R"(lanacfg setlananumber "a \"b\" c" 0)",
        "lanacfg\tsetlananumber  3\t 0 \t",
        // A byte of the ANSI code page past ASCII reaches the program as the same byte.
        "lanacfg setlananumber 3\xe9\xa4 0",
        "\"lanacfg\" setlananumber 3 0",
        "LANACFG.EXE setlananumber 3 0",
    };
    for (const std::string& line : lines) {
        SCOPED_TRACE(line);
        fs::remove(recordFile);
        EXPECT_TRUE(runner.run(line).succeeded());
        const auto record = readEchoRecord(recordFile);
        ASSERT_TRUE(record);
        EXPECT_EQ(record->ansiCommandLine, line);
        EXPECT_TRUE(sameFile(record->program, tool)) << record->program;
    }
}

TEST_F(SystemCommandRunnerTest, InterpreterFormRunsTheSystemsCmdWhoseRedirectionWritesTheReport)
{
    // A cmd.exe in the current folder would be run before the system's if the runner let
    // CreateProcessW search; this one, a copy of the echo program, writes no report.
    installEcho(scratch.path(), "cmd.exe");
    env.set("QUORVEL_ECHO_RECORD", ""); // to standard output, which is the report file

    EXPECT_TRUE(runner.run(quorvel::reportCommand()).succeeded());
    const auto report = readEchoRecord(scratch / quorvel::kReportFileName);
    ASSERT_TRUE(report);
    EXPECT_NE(report->ansiCommandLine.find("showlanapaths"), std::string::npos)
        << report->ansiCommandLine;
    EXPECT_TRUE(sameFile(report->program, tool)) << report->program;
}

TEST_F(SystemCommandRunnerTest, WaitsForTheCommandToEnd)
{
    env.set("QUORVEL_ECHO_SLEEP_MS", "1000");
    for (const std::string line :
         {"lanacfg setlananumber 3 0", "cmd /c lanacfg setlananumber 3 0"}) {
        SCOPED_TRACE(line);
        fs::remove(recordFile);
        runner.run(line);
        EXPECT_TRUE(fs::exists(recordFile));
    }
}

TEST_F(SystemCommandRunnerTest, TellsTheExitStatus)
{
    const struct {
        const char* line;
        const char* status;
        std::int64_t value;
    } cases[] = {
        {"lanacfg setlananumber 3 0", "0", 0},
        {"lanacfg setlananumber 3 0", "7", 7},
        // An NTSTATUS such as an access violation's, above what an int holds.
        {"lanacfg setlananumber 3 0", "3221225477", 3221225477},
        {"cmd /c lanacfg showlanapaths", "5", 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.line) + " exiting with " + c.status);
        env.set("QUORVEL_ECHO_EXIT", c.status);
        const CommandOutcome outcome = runner.run(c.line);
        EXPECT_EQ(outcome.end, End::Exited);
        EXPECT_EQ(outcome.value, c.value);
    }
    // cmd.exe's status for a program it does not find, as the runner states it.
    EXPECT_EQ(runner.run("cmd /c quorvel-no-such-program").value,
              runner.interpreterNotFound().status);
}

TEST_F(SystemCommandRunnerTest, ShowsNoConsoleWindow)
{
    for (const std::string line :
         {"lanacfg setlananumber 3 0", "cmd /c lanacfg setlananumber 3 0"}) {
        SCOPED_TRACE(line);
        fs::remove(recordFile);
        env.set("QUORVEL_RUNNER_COMMAND", line);
        EXPECT_EQ(runInWindowProgram(), 0u);
        const auto record = readEchoRecord(recordFile);
        ASSERT_TRUE(record);
        EXPECT_NE(record->consoleWindow, "visible");
    }
}

// The tool's complaints reach a user at a console; its output goes nowhere.
TEST_F(SystemCommandRunnerTest, ErrorsGoToThisProcesssStandardErrorAndOutputNowhere)
{
    // Inheritable, as the standard handles of a redirected program often are: a child that
    // simply inherited them would write its output here too.
    const fs::path captured = scratch / "captured.txt";
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const HANDLE capture = ::CreateFileW(captured.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                         CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(capture, INVALID_HANDLE_VALUE);
    const HANDLE ownOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
    const HANDLE ownError = ::GetStdHandle(STD_ERROR_HANDLE);
    ::SetStdHandle(STD_OUTPUT_HANDLE, capture);
    ::SetStdHandle(STD_ERROR_HANDLE, capture);
    env.set("QUORVEL_ECHO_STDERR", "no such LANA");
    env.set("QUORVEL_ECHO_RECORD", ""); // to standard output

    const CommandOutcome outcome = runner.run("lanacfg setlananumber 3 0");
    ::SetStdHandle(STD_OUTPUT_HANDLE, ownOutput);
    ::SetStdHandle(STD_ERROR_HANDLE, ownError);
    ::CloseHandle(capture);
    EXPECT_TRUE(outcome.succeeded());
    EXPECT_EQ(fileBytes(captured), "no such LANA");
}

TEST_F(SystemCommandRunnerTest, AtTheTimeLimitStopEndsTheCommandAndWhatItStarted)
{
    const fs::path pidFile = scratch / "pid.txt";
    env.set("QUORVEL_ECHO_PID", pidFile.string());
    env.set("QUORVEL_ECHO_WAIT_FOR", (scratch / "never").string());

    // lanacfg runs as cmd's child here: stopping cmd alone would leave it running.
    const CommandOutcome outcome =
        runner.run("cmd /c lanacfg setlananumber 3 0", TimeLimit{2s, OnTimeout::Stop});
    EXPECT_EQ(outcome.end, End::TimedOutStopped);
    EXPECT_EQ(outcome.value, 2);

    const std::optional<bool> ended = echoHasEnded(pidFile);
    if (!ended)
        GTEST_SKIP() << "cmd had not started lanacfg by the time limit";
    EXPECT_TRUE(*ended) << "lanacfg still runs";
}

TEST_F(SystemCommandRunnerTest, AtTheTimeLimitLeaveRunningStopsWaitingAndLetsItFinish)
{
    const fs::path pidFile = scratch / "pid.txt";
    const fs::path go = scratch / "go";
    env.set("QUORVEL_ECHO_PID", pidFile.string());
    env.set("QUORVEL_ECHO_WAIT_FOR", go.string());

    const CommandOutcome outcome =
        runner.run("lanacfg setlananumber 3 0", TimeLimit{1s, OnTimeout::LeaveRunning});
    EXPECT_EQ(outcome.end, End::TimedOutLeftRunning);
    EXPECT_EQ(outcome.value, 1);
    EXPECT_FALSE(fs::exists(recordFile));

    std::ofstream(go).put('\n');
    EXPECT_TRUE(appearsWithin(recordFile, kHangGuardMilliseconds));
    EXPECT_EQ(echoHasEnded(pidFile), true);
}

TEST(SystemCommandRunner, CommandsThatCannotStartAreErrorsNamingTheCommandLine)
{
    const ScratchFolder scratch(ScratchFolder::Enter::Yes);
    // A text file passing for a program: found, but CreateProcessW cannot start it.
    std::ofstream(scratch / "broken.exe") << "not a program\n";
    const struct {
        std::string line;
        const char* reason;
        std::string shownLine = line;
    } cases[] = {
        {"quorvel-no-such-program setlananumber 3 0",
         "quorvel-no-such-program: not found in the current folder or on PATH"},
        // Only beside this test program, where CreateProcessW's own search would look first.
        {"lanacfg setlananumber 3 0", "lanacfg: not found in the current folder or on PATH"},
        {"broken setlananumber 3 0", nullptr}, // the system's reason, in its own words
        // CreateProcessW, and the message, would end the line at the NUL.
        {"lanacfg setlananumber 3\0x 0"s, "it holds a NUL character",
         "lanacfg setlananumber 3<NUL>x 0"},
        {"", "empty"},
        {" \t", "empty"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        try {
            SystemCommandRunner().run(c.line);
            ADD_FAILURE() << "no error";
        } catch (const OperationError& error) {
            const std::string message = error.what();
            const std::string start = "Could not run \"" + c.shownLine + "\": ";
            EXPECT_EQ(message.substr(0, start.size()), start) << message;
            if (c.reason != nullptr)
                EXPECT_NE(message.find(c.reason, start.size()), std::string::npos) << message;
            else
                EXPECT_GT(message.size(), start.size()) << message;
        }
    }
}

TEST(CurrentFolderTakesReport, AFolderThatCanBeWrittenButNeverTheWindowsFolder)
{
    wchar_t windows[MAX_PATH] = {};
    ASSERT_NE(::GetSystemWindowsDirectoryW(windows, MAX_PATH), 0u);
    const ScratchFolder scratch(ScratchFolder::Enter::Yes);
    EXPECT_TRUE(quorvel::currentFolderTakesReport());
    EXPECT_TRUE(fs::is_empty(scratch.path())); // what it wrote to find out is gone
    for (const std::wstring& folder :
         {std::wstring(windows), std::wstring(windows) + L"\\system32"}) {
        ASSERT_NE(::SetCurrentDirectoryW(folder.c_str()), 0);
        EXPECT_FALSE(quorvel::currentFolderTakesReport());
    }
}

} // namespace
