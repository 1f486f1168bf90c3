#include "state_file.h"

#include "sample_table.h"
#include "state_format.h"
#include "tool_error.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <string_view>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace lanacfg {

namespace {

// A table of 255 bindings is a few kilobytes; anything this large is not a state file.
constexpr off_t kMaxStateBytes = off_t{1024} * 1024;

// An empty or relative value counts as unset, as for every XDG variable.
std::optional<std::string> absoluteEnv(const char* name)
{
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/')
        return std::nullopt;
    return std::string(value);
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }
    // Closes now, for callers that must know whether the last writes made it.
    bool close()
    {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

// Test hook: LANACFG_TEST_PAUSE_BEFORE_RENAME=ms holds a change between writing the
// temporary file and renaming it, so tests can kill a run at exactly that moment.
void pauseBeforeRenameForTests()
{
    const char* value = std::getenv("LANACFG_TEST_PAUSE_BEFORE_RENAME");
    if (value == nullptr || std::string_view(value).size() > 5)
        return;
    int milliseconds = 0;
    for (const char c : std::string_view(value)) {
        if (c < '0' || c > '9')
            return;
        milliseconds = milliseconds * 10 + (c - '0');
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void writeTemporary(const std::string& tempPath, const std::string& text,
                    std::optional<mode_t> keptMode)
{
    FileDescriptor file(
        ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0666));
    if (file.get() < 0)
        throwSystemFailure("cannot create", tempPath);
    if (keptMode && ::fchmod(file.get(), *keptMode) != 0)
        throwSystemFailure("cannot set the mode of", tempPath);

    std::string_view rest = text;
    while (!rest.empty()) {
        const ssize_t written = ::write(file.get(), rest.data(), rest.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            throwSystemFailure("cannot write", tempPath);
        }
        rest.remove_prefix(static_cast<std::size_t>(written));
    }
    if (::fsync(file.get()) != 0 || !file.close())
        throwSystemFailure("cannot write", tempPath);
}

void syncFolderOf(const std::string& path)
{
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    const std::string folder = parent.empty() ? std::string(".") : parent.string();
    FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    // The rename has happened either way; this only hurries it to disk.
    if (dir.get() >= 0)
        ::fsync(dir.get());
}

} // namespace

std::string stateFilePath()
{
    if (const char* explicitPath = std::getenv("LANACFG_STATE");
        explicitPath != nullptr && explicitPath[0] != '\0')
        return explicitPath;
    if (const auto stateHome = absoluteEnv("XDG_STATE_HOME"))
        return *stateHome + "/lanacfg/bindings.txt";
    if (const auto home = absoluteEnv("HOME"))
        return *home + "/.local/state/lanacfg/bindings.txt";
    throw StateError("no state file: set LANACFG_STATE, XDG_STATE_HOME or HOME");
}

BindingTable loadState(const std::string& path)
{
    // O_NONBLOCK: a FIFO put in the file's place must not hang the run.
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.get() < 0) {
        if (errno == ENOENT)
            return sampleTable();
        throwSystemFailure("cannot read", path);
    }
    struct stat status {};
    if (::fstat(file.get(), &status) != 0)
        throwSystemFailure("cannot read", path);
    if (!S_ISREG(status.st_mode))
        throw StateError("cannot read " + path + ": not a regular file");
    if (status.st_size > kMaxStateBytes)
        throw StateError("cannot read " + path + ": larger than a binding table can be");

    std::string text;
    char buffer[16 * 1024];
    for (;;) {
        const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
        if (got == 0)
            break;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            throwSystemFailure("cannot read", path);
        }
        text.append(buffer, static_cast<std::size_t>(got));
        if (text.size() > static_cast<std::size_t>(kMaxStateBytes))
            throw StateError("cannot read " + path + ": larger than a binding table can be");
    }
    return parseStateText(text, path);
}

void saveState(const std::string& path, const BindingTable& table)
{
    // A state file made by hand keeps its permissions across changes.
    std::optional<mode_t> keptMode;
    if (struct stat status{}; ::stat(path.c_str(), &status) == 0)
        keptMode = status.st_mode & 07777;

    const std::string tempPath = path + ".tmp";
    try {
        writeTemporary(tempPath, formatStateText(table), keptMode);
        pauseBeforeRenameForTests();
        if (::rename(tempPath.c_str(), path.c_str()) != 0)
            throwSystemFailure("cannot replace", path);
    } catch (const StateError&) {
        ::unlink(tempPath.c_str());
        throw;
    }
    syncFolderOf(path);
}

} // namespace lanacfg
