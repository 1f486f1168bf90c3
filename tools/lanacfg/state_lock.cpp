#include "state_lock.h"

#include "tool_error.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <system_error>
#include <unistd.h>

namespace lanacfg {

namespace {

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

int openLockFile(const std::string& lockPath, StateLock::Mode mode)
{
    if (mode == StateLock::Mode::Read) {
        const int fd = ::open(lockPath.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd >= 0 || errno != ENOENT)
            return fd;
    }
    return ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
}

} // namespace

StateLock::StateLock(const std::string& statePath, Mode mode)
{
    if (mode == Mode::Change)
        createFolderOf(statePath);

    const std::string lockPath = statePath + ".lock";
    fd_ = openLockFile(lockPath, mode);
    if (fd_ < 0) {
        // The state file is only ever replaced whole by rename, so a reader that cannot
        // lock (no folder yet, a read-only one) still sees one complete table.
        if (mode == Mode::Read && (errno == ENOENT || errno == EACCES || errno == EROFS))
            return;
        throwSystemFailure("cannot open lock file", lockPath);
    }

    const int operation = mode == Mode::Read ? LOCK_SH : LOCK_EX;
    while (::flock(fd_, operation) != 0) {
        if (errno != EINTR) {
            const int error = errno;
            ::close(fd_);
            fd_ = -1;
            errno = error;
            throwSystemFailure("cannot lock", lockPath);
        }
    }
}

StateLock::~StateLock()
{
    if (fd_ >= 0)
        ::close(fd_);
}

} // namespace lanacfg
