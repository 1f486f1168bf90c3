#pragma once

#include <filesystem>
#include <string>

namespace quorvel::testing {

// A fresh folder under the system's temporary folder, removed with everything in it at the
// end. With Enter::Yes it is also the current folder meanwhile, as the report file is named
// relative to that.
class ScratchFolder {
public:
    enum class Enter { No, Yes };

    explicit ScratchFolder(Enter enter = Enter::No, const std::string& prefix = "quorvel-test");
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::filesystem::path& name) const
    {
        return path_ / name;
    }

private:
    std::filesystem::path path_;
    std::filesystem::path previous_;
};

// A variable of this process's environment, which the programs it starts inherit, set (or,
// given nullptr, removed) for a test and restored at its end.
class EnvironmentVariable {
public:
    EnvironmentVariable(std::string name, const char* value);
    ~EnvironmentVariable();
    EnvironmentVariable(const EnvironmentVariable&) = delete;
    EnvironmentVariable& operator=(const EnvironmentVariable&) = delete;

private:
    std::string name_;
    std::string previous_;
    bool had_ = false;
};

// Puts a folder first on PATH, where a fake lanacfg waits, and restores PATH at the end.
class PathPrefix {
public:
    explicit PathPrefix(const std::filesystem::path& folder);

private:
    EnvironmentVariable path_;
};

// Sets or reads an environment variable of this process, which the programs it starts inherit.
void setEnvironment(const std::string& name, const std::string& value);
bool environmentValue(const std::string& name, std::string& value);
void unsetEnvironment(const std::string& name);

// ':' on POSIX, ';' on Windows.
char pathListSeparator();

} // namespace quorvel::testing
