#include "system.h"
#include "tool_error.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace lanacfg {

namespace {

// Owns an open file descriptor; -1 stands for none.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    FileDescriptor& operator=(FileDescriptor&&) = delete;

    int get() const { return fd_; }
    bool isOpen() const { return fd_ >= 0; }
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

// A StateError "ACTION PATH: what the system said" for the errno of the call that just
// failed; errno is read before anything else can change it.
[[noreturn]] void throwSystemFailure(std::string_view action, const std::string& path)
{
    const int error = errno;
    throw StateError(std::string(action) + " " + path + ": " +
                     std::generic_category().message(error));
}

std::string_view notPlainReason(mode_t mode)
{
    if (S_ISLNK(mode))
        return "it is a symbolic link, not a regular file";
    if (S_ISFIFO(mode))
        return "it is a FIFO, not a regular file";
    if (S_ISDIR(mode))
        return "it is a folder, not a regular file";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "it is a device, not a regular file";
    return "it is not a regular file";
}

[[noreturn]] void throwNotPlain(std::string_view action, const std::string& path, mode_t mode)
{
    std::string message(action);
    message += ' ';
    message += path;
    message += ": ";
    message += notPlainReason(mode);
    throw StateError(message);
}

// Opens one of the tool's own files beside the state file (its lock or temporary file).
// A link put there is not followed and a FIFO or device cannot hold the run: the result is
// closed (-1, errno set) when the open fails, and StateError "ACTION PATH: ..." is thrown
// when what opened is not a regular file.
FileDescriptor openPlainFile(const std::string& path, int flags, mode_t mode,
                             std::string_view action)
{
    FileDescriptor file(::open(path.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, mode));
    if (!file.isOpen()) {
        // O_NOFOLLOW fails with ELOOP on a link; say so rather than "too many levels".
        if (errno == ELOOP) {
            struct stat status {};
            if (::lstat(path.c_str(), &status) == 0 && S_ISLNK(status.st_mode))
                throwNotPlain(action, path, status.st_mode);
            errno = ELOOP;
        }
        return file;
    }
    struct stat status {};
    if (::fstat(file.get(), &status) != 0)
        throwSystemFailure(action, path);
    if (!S_ISREG(status.st_mode))
        throwNotPlain(action, path, status.st_mode);
    return file;
}

// Removes a regular file a killed run may have left at `path`; anything else there is
// refused with StateError "ACTION PATH: ...", since it is not ours to delete.
void removeLeftoverPlainFile(const std::string& path, std::string_view action)
{
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) {
        if (errno == ENOENT)
            return;
        throwSystemFailure(action, path);
    }
    if (!S_ISREG(status.st_mode))
        throwNotPlain(action, path, status.st_mode);
    if (::unlink(path.c_str()) != 0 && errno != ENOENT)
        throwSystemFailure(action, path);
}

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

constexpr std::string_view kOpenLockAction = "cannot open lock file";

void createFolderOf(const std::string& path)
{
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (folder.empty())
        return;
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
        throw StateError("cannot create folder " + folder.string() + ": " + error.message());
}

FileDescriptor openLockFile(const std::string& lockPath, StateLock::Mode mode)
{
    if (mode == StateLock::Mode::Read) {
        FileDescriptor file = openPlainFile(lockPath, O_RDONLY, 0, kOpenLockAction);
        if (file.isOpen() || errno != ENOENT)
            return file;
    }
    return openPlainFile(lockPath, O_RDWR | O_CREAT, 0644, kOpenLockAction);
}

} // namespace

// Bytes pass through as they are: file names and the state file's text are the user's.
std::vector<std::string> commandArguments(int argc, char* argv[])
{
    return {argv + (argc > 0 ? 1 : 0), argv + argc};
}

std::string consoleText(std::string_view text)
{
    return std::string(text);
}

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
            throw StateError("cannot follow the link " + current.string() + ": " + error.message());
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
    throw StateError("cannot follow the link " + path + ": too many links in a row");
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
    if (struct stat status{}; ::stat(target.c_str(), &status) == 0)
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

struct StateLock::Held {
    FileDescriptor file;
};

StateLock::StateLock(const std::string& statePath, Mode mode)
{
    if (const int pause = pauseBeforeChangeMilliseconds(); mode == Mode::Change && pause > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(pause));
    if (mode == Mode::Change)
        createFolderOf(statePath);

    const std::string lockPath = statePath + ".lock";
    FileDescriptor file = openLockFile(lockPath, mode);
    if (!file.isOpen()) {
        // The state file is only ever replaced whole by rename, so a reader that cannot
        // lock (no folder yet, a read-only one) still sees one complete table.
        if (mode == Mode::Read && (errno == ENOENT || errno == EACCES || errno == EROFS))
            return;
        throwSystemFailure(kOpenLockAction, lockPath);
    }

    const int operation = mode == Mode::Read ? LOCK_SH : LOCK_EX;
    while (::flock(file.get(), operation) != 0) {
        if (errno != EINTR)
            throwSystemFailure("cannot lock", lockPath);
    }
    held_ = std::make_unique<Held>(Held{std::move(file)});
}

StateLock::~StateLock() = default;

} // namespace lanacfg
