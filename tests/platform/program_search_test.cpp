#include "platform/program_search.h"

#include <cwctype>
#include <gtest/gtest.h>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>

namespace quorvel {
namespace {

TEST(FindProgramLikeSh, FollowsTheShellsSearch)
{
    const std::set<std::string> executables = {"./lanacfg", "/opt/tool/lanacfg",
                                               "/usr/bin/lanacfg"};
    const auto isExecutable = [&](const std::string& path) { return executables.contains(path); };
    const struct {
        const char* name;
        const char* path;
        std::optional<std::string> found;
    } cases[] = {
        {"lanacfg", "/opt/tool:/usr/bin", "/opt/tool/lanacfg"},
        {"lanacfg", "/nowhere:/usr/bin", "/usr/bin/lanacfg"},
        // An empty entry, anywhere, is the current folder, as for the report command's shell.
        {"lanacfg", ":/usr/bin", "./lanacfg"},
        {"lanacfg", "/usr/bin:", "/usr/bin/lanacfg"},
        {"lanacfg", "/nowhere:", "./lanacfg"},
        {"lanacfg", "/nowhere::/usr/bin", "./lanacfg"},
        {"lanacfg", "", "./lanacfg"},
        {"lanacfg", nullptr, "/usr/bin/lanacfg"},
        {"lanacfg", "/nowhere", std::nullopt},
        {"sub/lanacfg", "/usr/bin", "sub/lanacfg"},
        {"", "/usr/bin", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " in " + (c.path ? c.path : "(unset)"));
        EXPECT_EQ(findProgramLikeSh(c.name, c.path, isExecutable), c.found);
    }
}

TEST(FindProgramLikeCmd, FollowsCmdsSearch)
{
    // Windows names files in any case.
    const auto lower = [](std::wstring text) {
        for (wchar_t& c : text)
            c = static_cast<wchar_t>(std::towlower(c));
        return text;
    };
    const std::set<std::wstring> files = {
        L"c:\\work\\lanacfg.bat",     L"c:\\tools\\lanacfg.exe", L"c:\\program files\\lanacfg.com",
        L"d:\\x\\lanacfg.exe",        L"c:\\both\\lanacfg.exe",  L"c:\\both\\lanacfg.cmd",
        L"c:\\tools;old\\lanacfg.cmd"};
    const auto isFile = [&](const std::wstring& path) { return files.contains(lower(path)); };
    const struct {
        const wchar_t* name;
        const wchar_t* folder;
        const wchar_t* path;
        const wchar_t* pathext;
        std::optional<std::wstring> found;
    } cases[] = {
        // The current folder comes before PATH, as in a command prompt.
        {L"lanacfg", L"C:\\work", L"C:\\tools", L"", L"C:\\work\\lanacfg.bat"},
        {L"lanacfg", L"C:\\empty", L"C:\\tools", L"", L"C:\\tools\\lanacfg.exe"},
        // Each folder is tried with every extension before the next folder.
        {L"lanacfg", L"C:\\empty", L"C:\\Program Files;C:\\tools", L"",
         L"C:\\Program Files\\lanacfg.com"},
        {L"lanacfg", L"C:\\empty", L";\"C:\\Program Files\";;C:\\tools", L".EXE",
         L"C:\\tools\\lanacfg.EXE"},
        {L"lanacfg", L"C:\\work", L"C:\\tools", L".EXE;.COM", L"C:\\tools\\lanacfg.EXE"},
        // With no PATHEXT, cmd's own order: .bat, .com, .cmd, .exe.
        {L"lanacfg", L"C:\\empty", L"C:\\both", L"", L"C:\\both\\lanacfg.cmd"},
        {L"lanacfg", L"C:\\empty", L"C:\\both", L".EXE;.CMD", L"C:\\both\\lanacfg.EXE"},
        // A ';' between quotes is part of the folder; only a quote at either end is dropped.
        {L"lanacfg", L"C:\\empty", L"\"C:\\tools;old\";C:\\tools", L"",
         L"C:\\tools;old\\lanacfg.cmd"},
        {L"lanacfg", L"C:\\empty", L"C:\\\"tools\";C:\\both", L"", L"C:\\both\\lanacfg.cmd"},
        // A quote left open takes the rest of PATH into its entry.
        {L"lanacfg", L"C:\\empty", L"C:\\x;\"C:\\tools;old;C:\\tools", L"", std::nullopt},
        {L"lanacfg.exe", L"C:\\empty", L"C:\\tools\\", L"", L"C:\\tools\\lanacfg.exe"},
        {L"D:\\x\\lanacfg", L"C:\\work", L"C:\\tools", L"", L"D:\\x\\lanacfg.exe"},
        {L"lanacfg", L"C:\\empty", L"C:\\nowhere", L"", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(c.name) + L" in " + c.folder +
                                              L" then " + c.path));
        EXPECT_EQ(findProgramLikeCmd(c.name, c.folder, c.path, c.pathext, isFile), c.found);
    }
}

TEST(CmdCanWorkIn, EveryFolderButAUncOrDevicePath)
{
    const std::pair<std::wstring_view, bool> cases[] = {
        {L"C:\\tools", true},
        {L"C:\\", true},
        {L"\\\\server\\share\\tools", false},
        {L"//server/share", false},
        {L"\\\\?\\UNC\\server\\share", false},
        {L"\\\\?\\C:\\tools", false},
        {L"\\\\.\\C:\\tools", false},
    };
    for (const auto& [folder, usable] : cases)
        EXPECT_EQ(cmdCanWorkIn(folder), usable) << ::testing::PrintToString(std::wstring(folder));
}

} // namespace
} // namespace quorvel
