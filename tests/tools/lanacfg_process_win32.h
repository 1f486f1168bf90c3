#pragma once

#include "tests/support/file_contents.h"
#include "tests/support/scratch_folder.h"

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

struct RunResult {
    int exitStatus;
    std::string out;
    std::string err;
};

// The built lanacfg.exe as a child process with LANACFG_STATE set; stdout and stderr go to
// files, read back as the bytes the program wrote.
class LanacfgProcess {
public:
    LanacfgProcess(const std::filesystem::path& statePath, const std::vector<std::string>& args,
                   const std::vector<std::wstring>& extraEnv = {});
    ~LanacfgProcess();
    LanacfgProcess(const LanacfgProcess&) = delete;
    LanacfgProcess& operator=(const LanacfgProcess&) = delete;

    // True when the run ends within the time given.
    bool endsWithin(DWORD milliseconds) const;
    void kill() const;
    // Waits for the end, killing a run that hangs; its exit status is then -1.
    RunResult wait();

private:
    HANDLE process_ = nullptr;
    std::filesystem::path outPath_;
    std::filesystem::path errPath_;
};

RunResult runLanacfg(const std::filesystem::path& statePath, const std::vector<std::string>& args);

using quorvel::testing::readFile;
using quorvel::testing::ScratchFolder;
using quorvel::testing::writeFile;
