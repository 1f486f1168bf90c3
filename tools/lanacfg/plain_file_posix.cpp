#include "plain_file_posix.h"

#include "tool_error.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

namespace lanacfg {

namespace {

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

} // namespace

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

} // namespace lanacfg
