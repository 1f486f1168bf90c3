#include "state_file.h"

#include "file_descriptor_posix.h"
#include "plain_file_posix.h"
#include "sample_table.h"
#include "state_format.h"
#include "test_hooks.h"
#include "tool_error.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace lanacfg {

namespace {

// As the kernel allows (SYMLOOP_MAX is 40 on Linux).
constexpr int kMaxLinkHops = 40;

constexpr std::string_view kLocationHelp =
    "  $LANACFG_STATE if set, else $XDG_STATE_HOME/lanacfg/bindings.txt, else\n"
    "  ~/.local/state/lanacfg/bindings.txt. Where it is a symbolic link, changes go to the\n"
    "  file the link leads to.";

// An empty or relative value counts as unset, as for every XDG variable.
std::optional<std::string> absoluteEnv(const char* name)
{
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/')
        return std::nullopt;
    return std::string(value);
}

} // namespace

std::string followStateLinks(const std::string& path)
{
    namespace fs = std::filesystem;
    fs::path current = path;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(current, error)))
            return current.string();
        const fs::path target = fs::read_symlink(current, error);
        if (error)
            throw StateError("cannot follow the link " + current.string() + ": " +
                             error.message());
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
    throw StateError("cannot follow the link " + path + ": too many links in a row");
}

namespace {

void writeWhole(FileDescriptor& file, const std::string& filePath, const std::string& text,
                std::optional<mode_t> keptMode)
{
    if (keptMode && ::fchmod(file.get(), *keptMode) != 0)
        throwSystemFailure("cannot set the mode of", filePath);
    std::string_view rest = text;
    while (!rest.empty()) {
        const ssize_t written = ::write(file.get(), rest.data(), rest.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            throwSystemFailure("cannot write", filePath);
        }
        rest.remove_prefix(static_cast<std::size_t>(written));
    }
    if (::fsync(file.get()) != 0 || !file.close())
        throwSystemFailure("cannot write", filePath);
}

void syncFolderOf(const std::string& path)
{
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    const std::string folder = parent.empty() ? std::string(".") : parent.string();
    const FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    // The rename has happened either way; this only hurries it to disk.
    if (dir.isOpen())
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

std::string_view stateFileLocationHelp()
{
    return kLocationHelp;
}

BindingTable loadState(const std::string& path)
{
    // O_NONBLOCK: a FIFO put in the file's place must not hang the run.
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!file.isOpen()) {
        if (errno == ENOENT)
            return sampleTable();
        throwSystemFailure("cannot read", path);
    }
    struct stat status {};
    if (::fstat(file.get(), &status) != 0)
        throwSystemFailure("cannot read", path);
    if (!S_ISREG(status.st_mode))
        throw StateError("cannot read " + path + ": not a regular file");
    const auto tooLarge = [&path] {
        return StateError("cannot read " + path + ": " + std::string(kTooLargeForState));
    };
    if (static_cast<std::uintmax_t>(status.st_size) > kMaxStateBytes)
        throw tooLarge();

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
        if (text.size() > kMaxStateBytes)
            throw tooLarge();
    }
    return parseStateText(text, path);
}

void saveState(const std::string& path, const BindingTable& table)
{
    const std::string target = followStateLinks(path);
    // A state file made by hand keeps its permissions across changes.
    std::optional<mode_t> keptMode;
    if (struct stat status {}; ::stat(target.c_str(), &status) == 0)
        keptMode = status.st_mode & 07777;

    const std::string tempPath = target + ".tmp";
    removeLeftoverPlainFile(tempPath, "cannot create");
    // O_EXCL: whatever appears there meanwhile is refused, never written through.
    FileDescriptor file =
        openPlainFile(tempPath, O_WRONLY | O_CREAT | O_EXCL, 0666, "cannot create");
    if (!file.isOpen())
        throwSystemFailure("cannot create", tempPath);
    try {
        writeWhole(file, tempPath, formatStateText(table), keptMode);
        if (const int pause = pauseBeforeRenameMilliseconds(); pause > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(pause));
        if (::rename(tempPath.c_str(), target.c_str()) != 0)
            throwSystemFailure("cannot replace", target);
    } catch (const StateError&) {
        ::unlink(tempPath.c_str());
        throw;
    }
    syncFolderOf(target);
}

} // namespace lanacfg
