// The renumbering lock on POSIX: flock on a file of this user's in the runtime folder
// ($XDG_RUNTIME_DIR) or else the temporary one ($TMPDIR, /tmp). The system drops the lock
// when its holder dies, so a killed run never keeps the others waiting.
#include "platform/system_access.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace quorvel {

namespace {

// Only an absolute folder: a relative one would put the lock in whatever folder a run started in.
std::string absoluteFolderFrom(const char* variable)
{
    const char* value = std::getenv(variable);
    return value != nullptr && value[0] == '/' ? std::string(value) : std::string();
}

std::string lockFilePath()
{
    std::string folder = absoluteFolderFrom("XDG_RUNTIME_DIR");
    if (folder.empty())
        folder = absoluteFolderFrom("TMPDIR");
    if (folder.empty())
        folder = "/tmp";
    // The user's number in the name: in a shared /tmp, each user has a lock of their own.
    return folder + "/quorvel-" + std::to_string(::geteuid()) + "-renumbering.lock";
}

[[noreturn]] void fail(const std::string& path, const std::string& reason)
{
    throw OperationError("Could not take the renumbering lock \"" + path + "\": " + reason);
}

// Never through a link and never anything but a regular file of this user's: in a shared
// folder another user could have put something there to take the lock away or to make a run
// write where it points.
int openLockFile(const std::string& path)
{
    const int fd =
        ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd < 0) {
        const int error = errno;
        fail(path, error == ELOOP ? "it is a symbolic link" : std::strerror(error));
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_uid != ::geteuid()) {
        ::close(fd);
        fail(path, "it is not a regular file of this user's; remove it");
    }
    return fd;
}

// Whether the locked file is still the one at the path: its last holder removes it.
bool stillAtPath(int fd, const std::string& path)
{
    struct stat locked {};
    struct stat atPath {};
    return ::fstat(fd, &locked) == 0 && ::lstat(path.c_str(), &atPath) == 0 &&
           locked.st_dev == atPath.st_dev && locked.st_ino == atPath.st_ino;
}

} // namespace

SystemRenumberingLock::~SystemRenumberingLock()
{
    release();
}

void SystemRenumberingLock::acquire(std::optional<std::chrono::seconds> wait)
{
    const std::string path = lockFilePath();
    const auto deadline = wait ? std::chrono::steady_clock::now() + *wait
                               : std::chrono::steady_clock::time_point::max();
    // flock cannot wait for a limited time: try, then try again after a pause that grows to
    // a tenth of a second, so that a short wait costs little and a long one little processor.
    auto pause = std::chrono::milliseconds(1);
    for (;;) {
        const int fd = openLockFile(path);
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            if (stillAtPath(fd, path)) {
                held_ = fd;
                return;
            }
            // Locked after its holder had removed it: a new one is at the path, or soon will be.
            ::close(fd);
            continue;
        }
        const int error = errno;
        ::close(fd);
        if (error != EWOULDBLOCK && error != EINTR)
            fail(path, std::strerror(error));
        if (std::chrono::steady_clock::now() >= deadline)
            fail(path, "another run was still giving an adapter LANA 0 after " +
                           std::to_string(wait->count()) + " s");
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(100));
    }
}

void SystemRenumberingLock::release() noexcept
{
    if (held_ < 0)
        return;
    // Removed while still locked, so that the runs leave nothing behind; a run waiting on
    // this file finds it gone once it has the lock, and tries the path again.
    ::unlink(lockFilePath().c_str());
    ::close(static_cast<int>(held_));
    held_ = -1;
}

} // namespace quorvel
