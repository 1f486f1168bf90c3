// The run log file on POSIX, and the names a log line gives.
#include "platform/system_access.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/utsname.h>
#include <thread>
#include <unistd.h>

namespace quorvel {

namespace {

// Far longer than any run holds the lock for its one write: only a stuck holder reaches it.
constexpr auto kLockWait = std::chrono::seconds(30);

[[noreturn]] void fail(const std::string& path, const std::string& reason)
{
    throw OperationError("Could not write the log file \"" + path + "\": " + reason);
}

class OpenLog {
public:
    explicit OpenLog(const std::string& path)
        // O_NONBLOCK: a FIFO with no reader fails rather than keeping the run waiting.
        : fd_(::open(path.c_str(),
                     O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666))
    {
        if (fd_ < 0)
            fail(path, std::strerror(errno));
    }
    ~OpenLog() { ::close(fd_); }
    OpenLog(const OpenLog&) = delete;
    OpenLog& operator=(const OpenLog&) = delete;

    int fd() const { return fd_; }

private:
    int fd_;
};

// flock cannot wait for a limited time: try, then try again after a pause that grows to a
// tenth of a second. Closing the file lets go of the lock.
void lockForAppending(const OpenLog& log, const std::string& path)
{
    const auto deadline = std::chrono::steady_clock::now() + kLockWait;
    auto pause = std::chrono::milliseconds(1);
    while (::flock(log.fd(), LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR)
            fail(path, std::strerror(errno));
        if (std::chrono::steady_clock::now() >= deadline)
            fail(path,
                 "another run kept it locked for " + std::to_string(kLockWait.count()) + " s");
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(100));
    }
}

} // namespace

void appendRunLogLine(const std::string& path, std::string_view line)
{
    const OpenLog log(path);
    lockForAppending(log, path);
    const std::string whole = std::string(line) + '\n';
    const ssize_t written = ::write(log.fd(), whole.data(), whole.size());
    if (written < 0)
        fail(path, std::strerror(errno));
    if (static_cast<std::size_t>(written) != whole.size())
        fail(path, "only " + std::to_string(written) + " of " + std::to_string(whole.size()) +
                       " bytes were written");
}

std::string computerName()
{
    struct utsname system {};
    if (::uname(&system) != 0)
        throw OperationError(std::string("Could not read this computer's name: ") +
                             std::strerror(errno));
    return system.nodename;
}

std::string userName()
{
    // The user's number where the user database has no name for it.
    const passwd* user = ::getpwuid(::getuid());
    return user != nullptr ? user->pw_name : "uid " + std::to_string(::getuid());
}

} // namespace quorvel
