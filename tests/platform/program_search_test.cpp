#include "platform/program_search.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>

namespace quorvel {
namespace {

TEST(FindProgramLikeSh, FollowsTheShellsSearch)
{
    const std::set<std::string> executables = {"./lanacfg", "/opt/tool/lanacfg", "/usr/bin/lanacfg"};
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
    const std::set<std::wstring> files = {L"C:\\work\\lanacfg.BAT", L"C:\\tools\\lanacfg.EXE",
                                          L"C:\\Program Files\\lanacfg.COM",
                                          L"C:\\tools\\lanacfg.exe", L"D:\\x\\lanacfg.EXE"};
    const auto isFile = [&](const std::wstring& path) { return files.contains(path); };
    const struct {
        const wchar_t* name;
        const wchar_t* folder;
        const wchar_t* path;
        const wchar_t* pathext;
        std::optional<std::wstring> found;
    } cases[] = {
        // The current folder comes before PATH, as in a command prompt.
        {L"lanacfg", L"C:\\work", L"C:\\tools", L"", L"C:\\work\\lanacfg.BAT"},
        {L"lanacfg", L"C:\\empty", L"C:\\tools", L"", L"C:\\tools\\lanacfg.EXE"},
        // Each folder is tried with every extension before the next folder.
        {L"lanacfg", L"C:\\empty", L"C:\\Program Files;C:\\tools", L"", L"C:\\Program Files\\lanacfg.COM"},
        {L"lanacfg", L"C:\\empty", L";\"C:\\Program Files\";;C:\\tools", L".EXE", L"C:\\tools\\lanacfg.EXE"},
        {L"lanacfg", L"C:\\work", L"C:\\tools", L".EXE;.COM", L"C:\\tools\\lanacfg.EXE"},
        {L"lanacfg.exe", L"C:\\empty", L"C:\\tools\\", L"", L"C:\\tools\\lanacfg.exe"},
        {L"D:\\x\\lanacfg", L"C:\\work", L"C:\\tools", L"", L"D:\\x\\lanacfg.EXE"},
        {L"lanacfg", L"C:\\empty", L"C:\\nowhere", L"", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(c.name) + L" in " + c.folder + L" then " + c.path));
        EXPECT_EQ(findProgramLikeCmd(c.name, c.folder, c.path, c.pathext, isFile), c.found);
    }
}

} // namespace
} // namespace quorvel
