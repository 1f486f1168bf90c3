// Quorvel's locks on POSIX: flock on files in a folder that only this user can write, so that no
// other user can plant, replace or hold one. The system drops a lock once every descriptor of it
// is closed: a run that dies keeps the others waiting no longer than the commands it started.
#include "platform/system_access.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <pwd.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace quorvel {

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kRenumberingLock = "the renumbering lock";
constexpr const char* kFolderLock = "the report folder's lock";

// Only an absolute path: a relative one would put the locks in whatever folder a run started in.
std::string absolutePathFrom(const char* variable)
{
    const char* value = std::getenv(variable);
    return value != nullptr && value[0] == '/' ? std::string(value) : std::string();
}

std::string userNamed(uid_t uid)
{
    const passwd* entry = ::getpwuid(uid);
    return entry != nullptr ? "user \"" + std::string(entry->pw_name) + "\""
                            : "user number " + std::to_string(uid);
}

std::string belongsToAnother(uid_t owner)
{
    return "it belongs to " + userNamed(owner) + ", not to " + userNamed(::geteuid());
}

// Why another user could put something in this folder or take it away, or nothing when only
// this user can: a folder of this user's, not a link, that no one else may write.
std::optional<std::string> whyNotPrivate(const std::string& folder)
{
    struct stat status {};
    if (::lstat(folder.c_str(), &status) != 0)
        return std::string(std::strerror(errno));
    if (S_ISLNK(status.st_mode))
        return "it is a symbolic link";
    if (!S_ISDIR(status.st_mode))
        return "it is not a folder";
    if (status.st_uid != ::geteuid())
        return belongsToAnother(status.st_uid);
    if ((status.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        return "other users may write in it";
    return std::nullopt;
}

// Where this user's lock files live: the runtime folder that the session made for the user
// alone, else a folder of the user's own state, made for the user alone with any folder missing
// above it; with no home, one in the temporary folder.
std::string lockFolder(const char* lock)
{
    if (std::string runtime = absolutePathFrom("XDG_RUNTIME_DIR");
        !runtime.empty() && !whyNotPrivate(runtime))
        return runtime;
    std::string folder = absolutePathFrom("XDG_STATE_HOME");
    if (folder.empty() && !(folder = absolutePathFrom("HOME")).empty())
        folder += "/.local/state";
    if (folder.empty()) {
        const std::string temporary = absolutePathFrom("TMPDIR");
        folder =
            (temporary.empty() ? "/tmp" : temporary) + "/quorvel-" + std::to_string(::geteuid());
    } else {
        folder += "/quorvel";
    }
    // The first folder that could not be made says why the last is missing.
    int notMade = 0;
    for (std::size_t end = folder.find('/', 1);; end = folder.find('/', end + 1)) {
        if (::mkdir(folder.substr(0, end).c_str(), 0700) != 0 && errno != EEXIST && notMade == 0)
            notMade = errno;
        if (end == std::string::npos)
            break;
    }
    if (const auto why = whyNotPrivate(folder))
        throw OperationError("Could not take " + std::string(lock) + " in \"" + folder +
                             "\": " + (notMade != 0 ? std::strerror(notMade) : *why));
    return folder;
}

[[noreturn]] void fail(const char* lock, const std::string& path, const std::string& reason)
{
    throw OperationError("Could not take " + std::string(lock) + " \"" + path + "\": " + reason);
}

// Never through a link and never anything but a regular file of this user's.
int openLockFile(const char* lock, const std::string& path)
{
    const int fd =
        ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd < 0) {
        const int error = errno;
        fail(lock, path, error == ELOOP ? "it is a symbolic link" : std::strerror(error));
    }
    struct stat status {};
    std::string why;
    if (::fstat(fd, &status) != 0)
        why = std::strerror(errno);
    else if (!S_ISREG(status.st_mode))
        why = "it is not a regular file";
    else if (status.st_uid != ::geteuid())
        why = belongsToAnother(status.st_uid);
    if (!why.empty()) {
        ::close(fd);
        fail(lock, path, why);
    }
    return fd;
}

// Whether the locked file is still the one at the path: a holder may remove it as it finishes.
bool stillAtPath(int fd, const std::string& path)
{
    struct stat locked {};
    struct stat atPath {};
    return ::fstat(fd, &locked) == 0 && ::lstat(path.c_str(), &atPath) == 0 &&
           locked.st_dev == atPath.st_dev && locked.st_ino == atPath.st_ino;
}

// The descriptor holding the lock on the file at path, or -1 when the deadline came first.
// flock cannot wait for a limited time: try, then try again after a pause that grows to a tenth
// of a second, so that a short wait costs little and a long one little processor.
int lockWithin(const char* lock, const std::string& path, Clock::time_point deadline)
{
    auto pause = std::chrono::milliseconds(1);
    for (;;) {
        const int fd = openLockFile(lock, path);
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            if (stillAtPath(fd, path))
                return fd;
            ::close(fd);
            continue;
        }
        const int error = errno;
        ::close(fd);
        if (error != EWOULDBLOCK && error != EINTR)
            fail(lock, path, std::strerror(error));
        if (Clock::now() >= deadline)
            return -1;
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(100));
    }
}

// Removed while still locked, so that the turns leave nothing behind; a run waiting on the file
// finds it gone once it has the lock, and tries the path again.
class PosixReportFolderTurn : public ReportFolderTurn {
public:
    PosixReportFolderTurn(std::string path, int fd) : path_(std::move(path)), fd_(fd) {}
    ~PosixReportFolderTurn() override
    {
        ::unlink(path_.c_str());
        ::close(fd_);
    }
    PosixReportFolderTurn(const PosixReportFolderTurn&) = delete;
    PosixReportFolderTurn& operator=(const PosixReportFolderTurn&) = delete;

private:
    std::string path_;
    int fd_;
};

// 64-bit FNV-1a in hexadecimal: a name for a folder of any length. Two folders that share one
// only take turns that they need not take.
std::string hashName(const std::string& text)
{
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char byte : text)
        hash = (hash ^ static_cast<unsigned char>(byte)) * 1099511628211ULL;
    char digits[17];
    std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(hash));
    return digits;
}

} // namespace

SystemRenumberingLock::~SystemRenumberingLock()
{
    release();
}

void SystemRenumberingLock::acquire(std::optional<std::chrono::seconds> wait)
{
    const auto deadline = wait ? Clock::now() + *wait : Clock::time_point::max();
    const std::string path = lockFolder(kRenumberingLock) + "/quorvel-renumbering.lock";
    const int fd = lockWithin(kRenumberingLock, path, deadline);
    if (fd < 0)
        fail(kRenumberingLock, path,
             "another run was still giving an adapter LANA 0 after " +
                 std::to_string(wait->count()) + " s");
    // Passed on to every command started while it is held, so that one left running (at a time
    // limit, or when this run was ended) holds the lock until it has ended too.
    if (::fcntl(fd, F_SETFD, 0) != 0) {
        const int error = errno;
        ::close(fd);
        fail(kRenumberingLock, path, std::strerror(error));
    }
    held_ = fd;
}

void SystemRenumberingLock::release() noexcept
{
    if (held_ < 0)
        return;
    // Only this descriptor: LOCK_UN would free the lock of a command still running too. The
    // file stays, as that command may still hold it.
    ::close(static_cast<int>(held_));
    held_ = -1;
}

std::unique_ptr<ReportFolderTurn> SystemReportFiles::takeFolderTurn(const std::string& path)
{
    if (reportFolder_ != nullptr)
        return nullptr;
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "."
                               : slash == 0               ? "/"
                                                          : path.substr(0, slash);
    // Named by its real path, however a run reached it.
    char* const real = ::realpath(folder.c_str(), nullptr);
    if (real == nullptr)
        throw OperationError("Could not take " + std::string(kFolderLock) + " for \"" + folder +
                             "\": " + std::strerror(errno));
    const std::string name = hashName(real);
    std::free(real);
    std::string lockPath = lockFolder(kFolderLock) + "/quorvel-report-" + name + ".lock";
    const int fd = lockWithin(kFolderLock, lockPath, Clock::time_point::max());
    return std::make_unique<PosixReportFolderTurn>(std::move(lockPath), fd);
}

} // namespace quorvel
