#pragma once

#include "tests/support/file_contents.h"
#include "tests/support/scratch_folder.h"

#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>

namespace quorvel::testing {

struct Outcome {
    DWORD status;
    std::string out; // the bytes written to standard output
    std::string err;
};

// Where the programs under test live: quorvel.exe and quorvel.com, and the stand-in lanacfg
// in a folder of its own.
std::filesystem::path quorvelFolder();
std::filesystem::path lanacfgFolder();

// Where a command's standard output goes: a file, a pipe whose reader has gone, or no
// handle at all (null or INVALID_HANDLE_VALUE).
enum class OutputTo { File, ClosedPipe, NullHandle, InvalidHandle };

// Runs a command line as a command prompt would, through cmd.exe /c, in `folder`, with
// standard errors going to a file; waits for its end.
Outcome runInCommandPrompt(const std::wstring& commandLine, const std::filesystem::path& folder,
                           OutputTo outputTo = OutputTo::File);
// The same for a program started directly, not through cmd.exe; commandLine starts with its name.
Outcome runProgram(const std::filesystem::path& program, std::wstring commandLine,
                   const std::filesystem::path& folder, OutputTo outputTo);

// A program's process, started without waiting for it.
class StartedProgram {
public:
    explicit StartedProgram(DWORD processId);
    ~StartedProgram();
    StartedProgram(const StartedProgram&) = delete;
    StartedProgram& operator=(const StartedProgram&) = delete;

    // Its exit status once it has ended, or nothing if it is still running after a minute.
    std::optional<DWORD> waitForEnd();

private:
    HANDLE process_;
};

} // namespace quorvel::testing
