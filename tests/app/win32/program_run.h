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

// Where a command's standard output goes: a file, or a pipe whose reader has gone.
enum class OutputTo { File, ClosedPipe };

// Runs a command line as a command prompt would, through cmd.exe /c, in `folder`, with
// standard errors going to a file; waits for its end.
Outcome runInCommandPrompt(const std::wstring& commandLine, const std::filesystem::path& folder,
                           OutputTo outputTo = OutputTo::File);

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
