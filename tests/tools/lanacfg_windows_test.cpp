#include "lanacfg_process_win32.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <string_view>

namespace fs = std::filesystem;

namespace {

const std::string kTable = "0\tNetBT\tNet A\n"
                           "1\tNetBEUI Protocol\tNet A\n"
                           "2\tNWLink NetBIOS\tNet B\n"
                           "3\tNetBEUI Protocol\tNet B\n";

const std::vector<std::string> kShow = {"showlanapaths"};

// The lines of a text whose every line ends in CR LF; a bare LF or CR fails the test.
std::vector<std::string> crlfLines(std::string_view text)
{
    std::vector<std::string> lines;
    while (!text.empty()) {
        const auto end = text.find("\r\n");
        if (end == std::string_view::npos) {
            ADD_FAILURE() << "last line without CR LF: " << text;
            break;
        }
        const std::string_view line = text.substr(0, end);
        EXPECT_EQ(line.find_first_of("\r\n"), std::string_view::npos) << "bare CR or LF: " << line;
        lines.emplace_back(line);
        text.remove_prefix(end + 2);
    }
    return lines;
}

// The binding lines of a state file the tool wrote, without its comments.
std::vector<std::string> bindingLines(const std::string& stateText)
{
    std::vector<std::string> lines = crlfLines(stateText);
    std::erase_if(lines, [](const std::string& line) { return line.starts_with("#"); });
    return lines;
}

TEST(LanacfgWindows, SampleReportIsInCrlfLines)
{
    const ScratchFolder scratch;
    const fs::path state = scratch.path() / "state" / "bindings.txt";
    const RunResult result = runLanacfg(state, kShow);
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out, "NetBIOS bindings and their LANA numbers\r\n"
                          "\r\n"
                          "Lana:  0\r\n-->NetBT-->Intel(R) PRO/100 Adapter\r\n"
                          "Lana:  1\r\n-->NetBEUI Protocol-->WAN Miniport (NetBEUI, Dial Out)\r\n"
                          "Lana:  2\r\n-->NetBEUI Protocol-->3Com EtherLink III Adapter\r\n"
                          "Lana:  3\r\n-->NWLink NetBIOS-->3Com EtherLink III Adapter\r\n"
                          "Lana:  4\r\n-->NetBEUI Protocol-->Intel(R) PRO/100 Adapter\r\n"
                          "Lana:  5\r\n-->NWLink NetBIOS-->Intel(R) PRO/100 Adapter\r\n"
                          "Lana:  6\r\n-->NetBT-->3Com EtherLink III Adapter\r\n"
                          "Lana:  7\r\n-->NetBT-->WAN Miniport (IP)\r\n");
    EXPECT_FALSE(fs::exists(state.parent_path())) << "showing must not write anything";
}

TEST(LanacfgWindows, SwapIsWrittenThroughToTheStateFile)
{
    const ScratchFolder scratch;
    const fs::path state = scratch.path() / "bindings.txt";
    writeFile(state, kTable);

    const RunResult result = runLanacfg(state, {"setlananumber", "3", "0"});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(result.out + result.err, "");
    EXPECT_EQ(bindingLines(readFile(state)),
              (std::vector<std::string>{"0\tNetBEUI Protocol\tNet B", "1\tNetBEUI Protocol\tNet A",
                                        "2\tNWLink NetBIOS\tNet B", "3\tNetBT\tNet A"}));
    EXPECT_FALSE(fs::exists(state.wstring() + L".tmp"));

    const RunResult shown = runLanacfg(state, kShow);
    EXPECT_NE(shown.out.find("Lana:  0\r\n-->NetBEUI Protocol-->Net B\r\n"), std::string::npos)
        << shown.out;
}

// What Explorer and Task Manager show as the program's description.
std::string fileDescription(const fs::path& program)
{
    DWORD ignored = 0;
    std::vector<char> info(::GetFileVersionInfoSizeW(program.c_str(), &ignored));
    if (info.empty() || ::GetFileVersionInfoW(program.c_str(), 0, static_cast<DWORD>(info.size()),
                                              info.data()) == 0)
        return {};
    void* value = nullptr;
    UINT length = 0;
    std::wstring path = L"\\StringFileInfo\\040904B0\\FileDescription";
    if (::VerQueryValueW(info.data(), path.data(), &value, &length) == 0 || length == 0)
        return {};
    return fs::path(static_cast<const wchar_t*>(value)).string();
}

// The stand-in ships beside Quorvel: its file and its help must not pass for the real tool.
TEST(LanacfgWindows, FileAndHelpSayItIsASimulation)
{
    const ScratchFolder scratch;
    const RunResult help = runLanacfg(scratch.path() / "bindings.txt", {"--help"});
    EXPECT_EQ(help.exitStatus, 0) << help.err;
    const std::vector<std::string> lines = crlfLines(help.out);
    ASSERT_FALSE(lines.empty());
    const std::string description = fileDescription(LANACFG_PATH);
    EXPECT_NE(description.find("simulation of lanacfg"), std::string::npos) << description;
    EXPECT_EQ(lines.front(), description + ".");
}

// A folder's name holds a character outside every ANSI code page that has "é"; a file where
// a folder must be is refused.
TEST(LanacfgWindows, FirstChangeMakesTheFoldersAndFileOfAnyName)
{
    const ScratchFolder scratch;
    const fs::path state = scratch.path() / L"\u00e9tat \u03b4" / "deeper" / "bindings.txt";
    const RunResult result = runLanacfg(state, {"setlananumber", "4", "0"});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    const std::vector<std::string> lines = bindingLines(readFile(state));
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "0\tNetBEUI Protocol\tIntel(R) PRO/100 Adapter");

    writeFile(scratch.path() / "plain", "not a folder");
    const RunResult refused = runLanacfg(scratch.path() / "plain" / "deeper" / "bindings.txt",
                                         {"setlananumber", "4", "0"});
    EXPECT_EQ(refused.exitStatus, 1);
    EXPECT_NE(refused.err.find("cannot create folder"), std::string::npos) << refused.err;
}

// Quorvel reads the report in the system's ANSI code page; the state file is UTF-8.
TEST(LanacfgWindows, ReportNamesAreInTheAnsiCodePage)
{
    const ScratchFolder scratch;
    const fs::path state = scratch.path() / "bindings.txt";
    writeFile(state, "0\tNetBEUI Protocol\tCarte r\xc3\xa9seau\n");
    const wchar_t wideName[] = L"Carte r\u00e9seau";
    char ansiName[64] = {};
    ::WideCharToMultiByte(CP_ACP, 0, wideName, -1, ansiName, sizeof ansiName, nullptr, nullptr);

    const RunResult result = runLanacfg(state, kShow);
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_NE(result.out.find("-->NetBEUI Protocol-->" + std::string(ansiName) + "\r\n"),
              std::string::npos)
        << result.out;
}

TEST(LanacfgWindows, RefusalsExitWithOneLineOnStderr)
{
    enum class InTheWay { Nothing, FolderAsState, FolderAsTemp, FolderAsLock };
    const char* const inTheWayNames[] = {"", "folder as state file ", "folder as FILE.tmp ",
                                         "folder as FILE.lock "};
    struct Case {
        std::vector<std::string> args;
        std::string table;
        InTheWay inTheWay;
        int exitStatus;
    };
    const Case cases[] = {
        {{}, kTable, InTheWay::Nothing, 2},
        {{"frobnicate"}, kTable, InTheWay::Nothing, 2},
        {{"showlanapaths", "extra"}, kTable, InTheWay::Nothing, 2},
        {{"setlananumber", "1"}, kTable, InTheWay::Nothing, 2},
        {{"setlananumber", "1", "255"}, kTable, InTheWay::Nothing, 2},
        {{"setlananumber", "x", "0"}, kTable, InTheWay::Nothing, 2},
        {{"setlananumber", "9", "0"}, kTable, InTheWay::Nothing, 1},
        {kShow, "0\tNetBT\n", InTheWay::Nothing, 1},
        {{"setlananumber", "0", "1"}, "0\tNetBT\tNet A\n0\tNetBT\tNet B\n", InTheWay::Nothing, 1},
        {kShow, "", InTheWay::FolderAsState, 1},
        {{"setlananumber", "3", "0"}, kTable, InTheWay::FolderAsTemp, 1},
        {kShow, kTable, InTheWay::FolderAsLock, 1},
        {{"setlananumber", "3", "0"}, kTable, InTheWay::FolderAsLock, 1},
    };
    for (const Case& c : cases) {
        std::string trace = inTheWayNames[static_cast<int>(c.inTheWay)];
        for (const std::string& arg : c.args)
            trace += "[" + arg + "]";
        SCOPED_TRACE(trace);
        const ScratchFolder scratch;
        const fs::path state = scratch.path() / "bindings.txt";
        if (c.inTheWay == InTheWay::FolderAsState)
            fs::create_directories(state);
        else
            writeFile(state, c.table);
        if (c.inTheWay == InTheWay::FolderAsTemp)
            fs::create_directories(state.wstring() + L".tmp");
        if (c.inTheWay == InTheWay::FolderAsLock)
            fs::create_directories(state.wstring() + L".lock");

        const RunResult result = runLanacfg(state, c.args);
        EXPECT_EQ(result.exitStatus, c.exitStatus);
        EXPECT_EQ(result.out, "");
        EXPECT_TRUE(result.err.starts_with("lanacfg: ")) << result.err;
        EXPECT_TRUE(result.err.ends_with("\r\n")) << result.err;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
        if (c.inTheWay != InTheWay::FolderAsState) {
            EXPECT_EQ(readFile(state), c.table);
        }
    }
}

// A change paused, lock held, between writing its new table and moving it into place.
// Returns once it is in the pause.
std::unique_ptr<LanacfgProcess> startLockHolder(const fs::path& state)
{
    auto holder = std::make_unique<LanacfgProcess>(
        state, std::vector<std::string>{"setlananumber", "1", "0"},
        std::vector<std::wstring>{L"LANACFG_TEST_PAUSE_BEFORE_RENAME=60000"});
    const fs::path temp = state.wstring() + L".tmp";
    for (int i = 0; i < 3000 && !fs::exists(temp) && !holder->endsWithin(0); ++i)
        ::Sleep(10);
    EXPECT_TRUE(fs::exists(temp)) << "the change never got to its pause";
    return holder;
}

// A run started while another change holds the lock must not end while it does (however
// slow the machine); it goes on once the system drops the lock of the killed holder, whose
// table was never moved into place.
RunResult runWhileLocked(const fs::path& state, const std::vector<std::string>& args)
{
    const std::string original = readFile(state);
    const std::unique_ptr<LanacfgProcess> holder = startLockHolder(state);
    LanacfgProcess waiter(state, args);
    EXPECT_FALSE(waiter.endsWithin(2000));
    EXPECT_EQ(readFile(state), original);
    holder->kill();
    EXPECT_EQ(holder->wait().exitStatus, -1);
    return waiter.wait();
}

TEST(LanacfgWindows, ChangeWaitsWhileAnotherChangeHoldsTheLock)
{
    const ScratchFolder scratch;
    const fs::path state = scratch.path() / "bindings.txt";
    writeFile(state, kTable);

    const RunResult result = runWhileLocked(state, {"setlananumber", "3", "2"});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(bindingLines(readFile(state)),
              (std::vector<std::string>{"0\tNetBT\tNet A", "1\tNetBEUI Protocol\tNet A",
                                        "2\tNetBEUI Protocol\tNet B", "3\tNWLink NetBIOS\tNet B"}));
    EXPECT_TRUE(fs::exists(state.wstring() + L".lock"));
}

TEST(LanacfgWindows, ReportWaitsWhileAChangeHoldsTheLock)
{
    const ScratchFolder scratch;
    const fs::path state = scratch.path() / "bindings.txt";
    writeFile(state, kTable);

    const RunResult result = runWhileLocked(state, kShow);
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_NE(result.out.find("Lana:  0\r\n-->NetBT-->Net A\r\n"), std::string::npos) << result.out;
}

} // namespace
