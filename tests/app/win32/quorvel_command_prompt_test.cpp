#include "platform/system_access.h"
#include "program_run.h"
#include "window/form1_layout.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <regex>
#include <string>

namespace quorvel::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSampleList = "2\t3Com EtherLink III Adapter\r\n"
                                    "4\tIntel(R) PRO/100 Adapter\r\n";

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// Runs the programs as a command prompt does: found on PATH, the stand-in lanacfg first on
// it (never beside quorvel.exe, where Windows would run it instead of the real tool), its
// binding table the test's own, and a working folder for the report file.
class CommandPrompt : public ::testing::Test {
protected:
    CommandPrompt()
    {
        fs::create_directory(work());
        fs::create_directory(temporary());
        setEnvironment("LANACFG_STATE", (scratch / "bindings.txt").string());
        hadTmp_ = environmentValue("TMP", tmp_);
        setEnvironment("TMP", temporary().string());
    }
    ~CommandPrompt() override
    {
        unsetEnvironment("LANACFG_STATE");
        if (hadTmp_)
            setEnvironment("TMP", tmp_);
        else
            unsetEnvironment("TMP");
    }

    fs::path work() const { return scratch / "work"; }
    // The programs' temporary folder (GetTempPathW reads TMP first).
    fs::path temporary() const { return scratch / "tmp"; }
    Outcome run(const std::wstring& commandLine) { return runInCommandPrompt(commandLine, work()); }
    void useTable(const std::string& utf8Table) { writeFile(scratch / "bindings.txt", utf8Table); }
    void useSample() { fs::remove(scratch / "bindings.txt"); }
    // Starts a program of quorvel's in the work folder, not waiting for it; its process id.
    DWORD start(std::wstring line)
    {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started{};
        ::CreateProcessW((quorvelFolder() / line.substr(0, line.find(L' '))).c_str(), line.data(),
                         nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, work().c_str(),
                         &startup, &started);
        ::CloseHandle(started.hThread);
        ::CloseHandle(started.hProcess);
        return started.dwProcessId;
    }

    ScratchFolder scratch;
    PathPrefix quorvelOnPath{quorvelFolder()};
    PathPrefix lanacfgFirstOnPath{lanacfgFolder()};

private:
    std::string tmp_;
    bool hadTmp_ = false;
};

TEST_F(CommandPrompt, ListAndSetWriteToTheCommandPromptAndEndWithTheirStatus)
{
    const struct {
        const wchar_t* arguments;
        DWORD status;
        std::string out;
        const char* inErrors;
    } steps[] = {
        {L"--list", 0, kSampleList, ""},
        {L"--set \"Intel(R) PRO/100 Adapter\"", 0,
         "0\tIntel(R) PRO/100 Adapter\r\n2\t3Com EtherLink III Adapter\r\n", ""},
        {L"--list", 0, "0\tIntel(R) PRO/100 Adapter\r\n2\t3Com EtherLink III Adapter\r\n", ""},
        {L"--set \"No Such Card\"", 2, "", "no adapter named \"No Such Card\""},
        {L"/Set-Match:\"3com*\"", 0,
         "0\t3Com EtherLink III Adapter\r\n2\tIntel(R) PRO/100 Adapter\r\n", ""},
        {L"/LIST", 0, "0\t3Com EtherLink III Adapter\r\n2\tIntel(R) PRO/100 Adapter\r\n", ""},
        {L"--version", 0, "quorvel " QUORVEL_VERSION "\r\n", ""},
        {L"/bogus", 2, "", "\r\nType \"quorvel /?\" for usage.\r\n"},
        {L"/set: /list", 2, "", "--set needs a value"},
    };
    // "quorvel" is the console companion quorvel.com, which a prompt picks first; the window
    // program behaves alike when named, given a file to write to.
    for (const std::wstring program : {L"quorvel", L"quorvel.exe"}) {
        useSample();
        for (const auto& step : steps) {
            SCOPED_TRACE(fs::path(program + L" " + step.arguments).string());
            const Outcome run = this->run(program + L" " + step.arguments);
            EXPECT_EQ(run.status, step.status) << run.err;
            EXPECT_EQ(run.out, step.out);
            EXPECT_TRUE(contains(run.err, step.inErrors)) << run.err;
        }
        EXPECT_FALSE(fs::exists(work() / "lanapaths.txt"));
        // Each run's own folder for its report is gone with it.
        EXPECT_TRUE(fs::is_empty(temporary())) << [this] {
            std::string left;
            for (const auto& entry : fs::recursive_directory_iterator(temporary()))
                left += entry.path().string() + "\n";
            return left;
        }();
        const Outcome help = this->run(program + L" /?");
        EXPECT_EQ(help.status, 0u);
        EXPECT_TRUE(contains(help.out, "\r\nExit status:\r\n")) << help.out;
    }
}

TEST_F(CommandPrompt, SetWaitsForTheRenumberingLockAtMostItsTimeout)
{
    SystemRenumberingLock window;
    window.acquire(std::nullopt);
    const Outcome waited = run(L"quorvel --set \"Intel(R) PRO/100 Adapter\" --timeout 1");
    EXPECT_EQ(waited.status, 3u);
    EXPECT_TRUE(contains(waited.err, "still giving an adapter LANA 0 after 1 s")) << waited.err;
    // A report alone takes no turn.
    EXPECT_EQ(run(L"quorvel --list").out, kSampleList);

    window.release();
    // Time enough for the report command of a 32-bit run under emulation.
    const Outcome done = run(L"quorvel --set \"Intel(R) PRO/100 Adapter\" --timeout 30");
    EXPECT_EQ(done.status, 0u) << done.err;
}

TEST_F(CommandPrompt, ARunThatStopsWaitingKeepsTheLockTillItsRenumberingEnds)
{
    // As on POSIX, but 3 s: a report command under emulation (the i686 tests) may take over 1 s.
    const fs::path started = scratch / "renumbering";
    writeFile(scratch / "fake" / "lanacfg.cmd",
              "@echo off\r\nif \"%1\"==\"setlananumber\" echo.>\"" + started.string() + "\"\r\n\"" +
                  (lanacfgFolder() / "lanacfg.exe").string() + "\" %*\r\n");
    const PathPrefix fakeFirstOnPath(scratch / "fake");
    for (const bool terminate : {false, true}) {
        SCOPED_TRACE(terminate ? "TerminateProcess" : "--timeout 3");
        useSample();
        fs::remove(started);
        {
            const EnvironmentVariable slow("LANACFG_TEST_PAUSE_BEFORE_CHANGE", "6000");
            StartedProgram first(
                start(L"quorvel.com --set \"3Com EtherLink III Adapter\" --timeout " +
                      std::wstring(terminate ? L"60" : L"3")));
            for (int wait = 0; terminate && wait < 1200 && !fs::exists(started); ++wait)
                ::Sleep(50);
            if (!terminate)
                first.waitForEnd();
        } // one still running is terminated here
        const Outcome second = run(L"quorvel --set \"Intel(R) PRO/100 Adapter\"");
        EXPECT_EQ(second.status, 0u) << second.err;
        EXPECT_EQ(second.out, "0\tIntel(R) PRO/100 Adapter\r\n4\t3Com EtherLink III Adapter\r\n");
    }
}

TEST_F(CommandPrompt, BatchFileFindsTheStatusInErrorlevel)
{
    // Redirections first: "echo 2>file" would redirect the handle 2.
    writeFile(work() / "check.cmd", "@echo off\r\n"
                                    "quorvel --set \"No Such Card\" 2>nul\r\n"
                                    ">status.txt echo %ERRORLEVEL%\r\n"
                                    "quorvel --list >list.txt\r\n"
                                    ">>status.txt echo %ERRORLEVEL%\r\n"
                                    "quorvel.exe --set \"No Such Card\" 2>nul\r\n"
                                    ">>status.txt echo %ERRORLEVEL%\r\n");
    const Outcome run = this->run(L"check.cmd");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(readFile(work() / "status.txt"), "2\r\n0\r\n2\r\n");
    EXPECT_EQ(readFile(work() / "list.txt"), kSampleList);
}

TEST_F(CommandPrompt, ArgumentsAreTakenWholeAndComparedInTheAnsiCodePage)
{
    if (::GetACP() != 1252)
        GTEST_SKIP() << "written for code page 1252, this system's is " << ::GetACP();
    const std::string table = "3\tNetBEUI Protocol\tNetzwerkkarte f\xc3\xbcr B\xc3\xbcro\n";
    const char* lacking = "holds characters that the ANSI code page 1252 lacks";
    // The lossy conversion made "??*" and "O" of the first two, which the name matches.
    const struct {
        const wchar_t* arguments;
        DWORD status;
        std::string out;
        const char* inErrors;
    } cases[] = {
        {L"/set-match \"\u4e2d\u6587*\"", 2, "", lacking},
        {L"/set-match \"\u03a9*\"", 2, "", lacking},
        {L"/set \"\u03a9\"", 2, "", lacking},
        {L"--set \"Netzwerkkarte f\u00fcr B\u00fcro\"", 0, "0\tNetzwerkkarte f\xfcr B\xfcro\r\n",
         ""},
    };
    for (const std::wstring program : {L"quorvel", L"quorvel.exe"}) {
        useTable(table);
        for (const auto& c : cases) {
            SCOPED_TRACE(fs::path(program + L" " + c.arguments).string());
            const Outcome run = this->run(program + L" " + c.arguments);
            EXPECT_EQ(run.status, c.status) << run.err;
            EXPECT_EQ(run.out, c.out);
            EXPECT_TRUE(contains(run.err, c.inErrors)) << run.err;
            if (c.status != 0) {
                EXPECT_EQ(readFile(scratch / "bindings.txt"), table);
            }
        }
    }
}

TEST_F(CommandPrompt, OutputThatCannotBeWrittenIsStatus3)
{
    for (const std::wstring program : {L"quorvel", L"quorvel.exe"}) {
        for (const char* what : {"list", "help", "version"}) {
            SCOPED_TRACE(fs::path(program).string() + " --" + what);
            const Outcome run = runInCommandPrompt(program + L" --" + fs::path(what).wstring(),
                                                   work(), OutputTo::ClosedPipe);
            EXPECT_EQ(run.status, 3u);
            EXPECT_TRUE(contains(run.err, std::string("could not write the ") + what)) << run.err;
        }
    }
}

// The window's refresh removes a leftover report in the current folder; one that another
// program holds open with delete sharing stays until that program ends, and must not pass for
// the coming report.
TEST_F(CommandPrompt, LeftoverReportHeldOpenIsAnErrorNamingIt)
{
    const fs::path report = work() / "lanapaths.txt";
    writeFile(report, "Lana:  9\r\n-->NetBEUI Protocol-->Old Card\r\n");
    const fs::path ready = scratch / "held";
    std::wstring holderLine =
        L"file_holder \"" + report.wstring() + L"\" \"" + ready.wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION holder{};
    ASSERT_NE(::CreateProcessW(fs::absolute(FILE_HOLDER_EXE).wstring().c_str(), holderLine.data(),
                               nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                               &startup, &holder),
              0);
    for (int attempt = 0; attempt < 200 && !fs::exists(ready); ++attempt)
        ::Sleep(50);
    ASSERT_TRUE(fs::exists(ready));

    SystemReportFiles files;
    try {
        files.removeLeftover(report.string());
        ADD_FAILURE() << "a held leftover passed for removed";
    } catch (const OperationError& error) {
        EXPECT_TRUE(contains(error.what(), "lanapaths.txt")) << error.what();
        EXPECT_TRUE(contains(error.what(), "another program holds it open, and it stays until "
                                           "that program closes it"))
            << error.what();
    }
    ::TerminateProcess(holder.hProcess, 0);
    ::WaitForSingleObject(holder.hProcess, INFINITE);
    ::CloseHandle(holder.hThread);
    ::CloseHandle(holder.hProcess);
}

TEST_F(CommandPrompt, MissingLanacfgIsStatus3SayingWhereItWasLookedFor)
{
    const std::wstring quorvel = (quorvelFolder() / "quorvel.com").wstring();
    // cmd.exe looks in the current folder, then along PATH; here neither has lanacfg.
    const Outcome run =
        this->run(L"set \"PATH=%SystemRoot%\\system32\" & \"" + quorvel + L"\" --list");
    EXPECT_EQ(run.status, 3u);
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(contains(run.err, "exited with status 9009: lanacfg was not found on the search "
                                  "path (looked in the current folder, then the folders listed in "
                                  "PATH)"))
        << run.err;
    EXPECT_FALSE(fs::exists(work() / "lanapaths.txt"));
}

TEST_F(CommandPrompt, RunsAtOnceAppendAWholeLineEachToOneLog)
{
    for (int round = 0; round < 10; ++round) {
        StartedProgram one(start(L"quorvel.com /list /log:runs.log"));
        StartedProgram other(start(L"quorvel.com --list --log runs.log"));
        one.waitForEnd();
        other.waitForEnd();
    }
    const std::regex twentyLines(
        R"((\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ\t[^\t\n]+\t[^\t\n]+\t)" QUORVEL_VERSION
        R"(\tlist\t\t\t\tlisted\t0\r\n){20})");
    const std::string log = readFile(work() / "runs.log");
    EXPECT_TRUE(std::regex_match(log, twentyLines)) << log;
}

TEST_F(CommandPrompt, OptionsWithNoStandardOutputHandleEndWithStatus3)
{
    const struct {
        const char* name;
        OutputTo outputTo;
        const wchar_t* arguments;
    } cases[] = {
        {"--list, null handle", OutputTo::NullHandle, L" --list"},
        {"--list, INVALID_HANDLE_VALUE", OutputTo::InvalidHandle, L" --list"},
        {"--set, null handle", OutputTo::NullHandle, L" --set \"Intel(R) PRO/100 Adapter\""},
        {"--version, null handle", OutputTo::NullHandle, L" --version"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        useSample();
        const Outcome run =
            runProgram(quorvelFolder() / L"quorvel.com", std::wstring(L"quorvel.com") + c.arguments,
                       work(), c.outputTo);
        // 4 after --set: the adapter shows LANA 0 all the same.
        EXPECT_EQ(run.status, c.arguments[3] == L's' ? 4u : 3u);
        EXPECT_TRUE(contains(run.err, "could not write the ")) << run.err;
    }
}

// cmd.exe runs a batch-file lanacfg with its arguments as batch text: a LANA text that could
// become a command there is refused before anything runs.
TEST_F(CommandPrompt, BatchFileLanacfgNeverRunsALanaTextThatIsNotANumber)
{
    const fs::path fake = scratch / "fake";
    writeFile(fake / "lanacfg.cmd", "@echo off\r\n"
                                    "if \"%1\"==\"setlananumber\" echo ran>\"" +
                                        (scratch / "renumbered.txt").string() +
                                        "\"\r\n"
                                        "type \"" +
                                        (scratch / "report.txt").string() + "\"\r\n");
    const PathPrefix fakeFirstOnPath(fake);
    for (const char* lana :
         {"3 & echo pwned>canary &", "3 | echo pwned>canary", "3 >canary", "3 ^& echo pwned>canary",
          "%COMSPEC% /c echo pwned>canary", "3\" & echo pwned>canary & \""}) {
        SCOPED_TRACE(lana);
        writeFile(scratch / "report.txt",
                  std::string("Lana:  ") + lana + "\r\n-->NetBEUI Protocol-->Card\r\n");
        const Outcome run = this->run(L"quorvel --set Card");
        EXPECT_EQ(run.status, 3u) << run.err;
        const std::string refusal =
            std::string("The LANA text \"") + lana + "\" is not a LANA number";
        EXPECT_TRUE(contains(run.err, refusal)) << run.err;
        EXPECT_FALSE(fs::exists(work() / "canary"));
        EXPECT_FALSE(fs::exists(scratch / "renumbered.txt"));
    }
}

TEST_F(CommandPrompt, Utf16WithoutAMarkIsListedAndAStrayNulIsStatus3)
{
    // cmd /u writes its own output in UTF-16 without a byte-order mark.
    const PathPrefix fakeFirstOnPath(scratch / "fake");
    const std::string utf16Line = "@cmd /u /c \"echo --^>NetBEUI Protocol--^>Card A\"\r\n";
    writeFile(scratch / "fake" / "lanacfg.cmd", "@cmd /u /c \"echo Lana:  2\"\r\n" + utf16Line);
    EXPECT_EQ(run(L"quorvel --list").out, "2\tCard A\r\n");
    writeFile(scratch / "fake" / "lanacfg.cmd", "@echo Lana:  2\r\n" + utf16Line);
    const Outcome nul = run(L"quorvel --list");
    EXPECT_EQ(nul.status, 3u);
    EXPECT_TRUE(contains(nul.err, "lanapaths.txt\": its byte 12 is NUL")) << nul.err;
}

TEST_F(CommandPrompt, AnyTempFolderWorksOrIsStatus3NamingItAndLeavesNothing)
{
    writeFile(scratch / "a file", "");
    const auto deep = [this](std::size_t length) {
        return temporary() / std::wstring(length - temporary().native().size() - 1, L'd');
    };
    for (const fs::path& folder : {scratch / "missing" / "tmp", scratch / "a file", deep(200),
                                   deep(240), deep(250), deep(300)}) {
        SCOPED_TRACE(folder.string());
        std::error_code unmade; // where the system cannot make it, it stays missing
        fs::create_directory(folder, unmade);
        setEnvironment("TMP", folder.string());
        const Outcome run = this->run(L"quorvel --list");
        EXPECT_TRUE(run.status == 0 ? run.out == kSampleList
                                    : run.status == 3 && contains(run.err, folder.string()))
            << run.status << ": " << run.err;
        EXPECT_TRUE(fs::is_empty(folder, unmade) || unmade);
    }
}

TEST_F(CommandPrompt, NextRunRemovesTheReportFolderOfAKilledRunButNotOfARunningOne)
{
    PrivateReportFolder running;
    running.path();
    // A quorvel.com of a name of its own, which its renumbering ends as TerminateProcess does.
    writeFile(scratch / "fake" / "lanacfg.cmd",
              "@echo off\r\nif not \"%1\"==\"setlananumber\" goto report\r\ntaskkill /f /im "
              "killed.com >nul\r\nexit /b\r\n:report\r\n\"" +
                  (lanacfgFolder() / "lanacfg.exe").string() + "\" %*\r\n");
    fs::copy_file(quorvelFolder() / "quorvel.com", scratch / "fake" / "killed.com");
    const PathPrefix fakeFirstOnPath(scratch / "fake");
    run(L"killed --set \"Intel(R) PRO/100 Adapter\"");
    EXPECT_EQ(std::ranges::distance(fs::directory_iterator(temporary())), 2);
    EXPECT_EQ(run(L"quorvel --list").status, 0u);
    EXPECT_EQ(std::ranges::distance(fs::directory_iterator(temporary())), 1);
    EXPECT_TRUE(fs::exists(running.path()));
}

// The shown main window of a quorvel.exe, once one is up; loosely, as the program starting it
// has ended already: within a minute.
HWND shownWindow()
{
    for (int attempt = 0; attempt < 1200; ++attempt) {
        const HWND window = ::FindWindowW(L"QuorvelForm1", L"Quorvel");
        if (window != nullptr && ::IsWindowVisible(window) != 0)
            return window;
        ::Sleep(50);
    }
    return nullptr;
}

TEST_F(CommandPrompt, QuorvelAloneStartsTheWindowAndReturnsAtOnce)
{
    const Outcome run = this->run(L"quorvel");
    EXPECT_EQ(run.status, 0u) << run.err;
    EXPECT_EQ(run.out + run.err, "");

    const HWND window = shownWindow();
    ASSERT_NE(window, nullptr) << "no window came up";
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    StartedProgram program(processId);
    // Loaded before it was shown: the sample's two adapters.
    const HWND lstCard = ::GetDlgItem(window, form1Control("lstCard").id);
    EXPECT_EQ(::SendMessageW(lstCard, LB_GETCOUNT, 0, 0), 2);

    ::PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.waitForEnd(), std::optional<DWORD>(0));
}

// Each report command takes far longer than the 20 ms between the starts under wine.
TEST_F(CommandPrompt, TwoWindowsStartedTogetherInOneFolderBothListTheBindings)
{
    start(L"quorvel.exe");
    ::Sleep(20);
    start(L"quorvel.exe");
    for (int window = 0; window < 2; ++window) {
        const HWND shown = shownWindow();
        DWORD processId = 0;
        ::GetWindowThreadProcessId(shown, &processId);
        StartedProgram program(processId);
        const HWND lstCard = ::GetDlgItem(shown, form1Control("lstCard").id);
        EXPECT_EQ(::SendMessageW(lstCard, LB_GETCOUNT, 0, 0), 2);
        ::PostMessageW(shown, WM_CLOSE, 0, 0);
        EXPECT_EQ(program.waitForEnd(), std::optional<DWORD>(0));
    }
}

} // namespace
} // namespace quorvel::testing
