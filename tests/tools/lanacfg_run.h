#pragma once

#include "tests/support/file_contents.h"
#include "tests/support/scratch_folder.h"

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

struct RunResult {
    int exitStatus;
    std::string out;
    std::string err;
};

// The built lanacfg as a child process with LANACFG_STATE set; stdout and stderr go to
// files so that any number of runs can go at once without a reader per pipe.
class LanacfgRun {
public:
    LanacfgRun(const std::filesystem::path& statePath, const std::vector<std::string>& args,
               const std::vector<std::string>& extraEnv = {});
    ~LanacfgRun();
    LanacfgRun(const LanacfgRun&) = delete;
    LanacfgRun& operator=(const LanacfgRun&) = delete;

    void kill() const;
    // Waits for the end; the exit status is -1 when a signal ended the run.
    RunResult wait();
    // The same, but a run still going after `limit` is killed: a hang fails, never stalls.
    RunResult wait(std::chrono::milliseconds limit);

private:
    bool hasEnded() const;

    int pid_ = -1;
    std::filesystem::path outPath_;
    std::filesystem::path errPath_;
};

// Far beyond what any run takes: only a run that hangs reaches it.
inline constexpr std::chrono::seconds kHangGuard{30};

// One run to its end, killed if it hangs past kHangGuard.
RunResult runLanacfg(const std::filesystem::path& statePath, const std::vector<std::string>& args);

using quorvel::testing::readFile;
using quorvel::testing::ScratchFolder;
using quorvel::testing::writeFile;
