#include "echo_program.h"
#include "platform/system_access.h"
#include "tests/support/error_of.h"
#include "tests/support/inheritable_file_win32.h"
#include "tests/support/scratch_folder.h"

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace quorvel::testing {
namespace {

namespace fs = std::filesystem;

// log_writer started with `arguments`, its standard output and errors going to `output`.
HANDLE startLogWriter(const std::wstring& arguments, const fs::path& output)
{
    const HANDLE file = inheritableFile(output, GENERIC_WRITE, CREATE_ALWAYS);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = file;
    startup.hStdError = file;
    PROCESS_INFORMATION started{};
    std::wstring commandLine = L"log_writer " + arguments;
    const fs::path program = besideThisProgram("log_writer.exe");
    const BOOL ok = ::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0,
                                     nullptr, nullptr, &startup, &started);
    ::CloseHandle(file);
    if (ok == 0)
        return nullptr;
    ::CloseHandle(started.hThread);
    return started.hProcess;
}

DWORD waitForEnd(HANDLE process)
{
    DWORD status = ~DWORD{0};
    if (::WaitForSingleObject(process, 60'000) == WAIT_OBJECT_0)
        ::GetExitCodeProcess(process, &status);
    ::CloseHandle(process);
    return status;
}

std::vector<std::string> linesOf(const std::string& text, const std::string& ending)
{
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find(ending, start);
        lines.push_back(text.substr(start, end - start));
        start = end == std::string::npos ? text.size() : end + ending.size();
    }
    return lines;
}

TEST(RunLogFile, TakesTwentyWholeLinesFromTwoProcessesAtOnce)
{
    const ScratchFolder scratch;
    const std::string lines[] = {"writer a\t" + std::string(9000, 'a'),
                                 "writer b\t" + std::string(9000, 'b')};
    HANDLE writers[2];
    for (int i = 0; i < 2; ++i)
        writers[i] = startLogWriter(L"append \"" + (scratch / "runs.log").wstring() + L"\" \"" +
                                        fs::path(lines[i]).wstring() + L"\"",
                                    scratch / ("out" + std::to_string(i)));
    for (const HANDLE writer : writers)
        EXPECT_EQ(waitForEnd(writer), 0);
    std::vector<std::string> written = linesOf(fileBytes(scratch / "runs.log"), "\r\n");
    std::sort(written.begin(), written.end());
    std::vector<std::string> expected(10, lines[0]);
    expected.resize(20, lines[1]);
    EXPECT_EQ(written, expected);
}

TEST(RunLogFile, NamesAFileItCannotWrite)
{
    const ScratchFolder scratch;
    for (const std::string& path :
         {(scratch / "no folder\\runs.log").string(), scratch.path().string()}) {
        SCOPED_TRACE(path);
        EXPECT_NE(errorOf([&] {
                      appendRunLogLine(path, "line");
                  }).find("Could not write the log file \"" + path + "\": "),
                  std::string::npos);
    }
}

} // namespace
} // namespace quorvel::testing
