#pragma once

#include <filesystem>
#include <string>
#include <vector>
#include <windows.h>

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

std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const std::string& text);

// A fresh folder under the system's temporary folder, removed with everything in it.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};
