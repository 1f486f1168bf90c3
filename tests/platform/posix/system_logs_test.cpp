#include "platform/system_access.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <sched.h>
#include <string>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <syslog.h>
#include <unistd.h>

namespace {

using namespace quorvel;

// A datagram socket at /dev/log on a tmpfs over /dev, in a mount namespace of this process's
// own, catching what syslog(3) sends; unmounted at the end, when the process sees the system's
// /dev again. Mounting takes root.
struct SyslogCatcher {
    SyslogCatcher()
    {
        // Private first, so that nothing mounted here reaches the system's /dev.
        mounted = ::unshare(CLONE_NEWNS) == 0 &&
                  ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
                  ::mount("tmpfs", "/dev", "tmpfs", 0, nullptr) == 0;
        const sockaddr_un address{AF_UNIX, "/dev/log"};
        const timeval wait{5, 0};
        catching =
            mounted &&
            ::bind(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
            ::setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait) == 0;
    }
    ~SyslogCatcher()
    {
        ::close(socket);
        if (mounted)
            ::umount2("/dev", MNT_DETACH);
    }

    int socket = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    bool mounted = false;
    bool catching = false;
};

TEST(SystemRenumberingLog, SendsEachResultToSyslogWithItsSeverity)
{
    SyslogCatcher syslog;
    if (!syslog.catching)
        GTEST_SKIP() << "Not checked: catching syslog's datagrams takes root, to mount a tmpfs "
                        "over /dev in a mount namespace of the test's own.";
    const std::string asked = " for user " + std::string(::getpwuid(::getuid())->pw_name) +
                              " through the options for scripts: ";
    const struct {
        RenumberingResult result;
        int priority;
        const char* words;
    } cases[] = {
        {RenumberingResult::Renumbered, LOG_USER | LOG_INFO, "was given LANA 0"},
        {RenumberingResult::AlreadyOnLana0, LOG_USER | LOG_WARNING, "was left as it is"},
        {RenumberingResult::Refused, LOG_USER | LOG_WARNING, "was not given LANA 0"},
        {RenumberingResult::Failed, LOG_USER | LOG_ERR, "could not be given LANA 0"},
    };
    char received[4096];
    std::string datagram;
    for (const auto& c : cases) {
        SystemRenumberingLog().record({c.result, RenumberingProgram::Options, "Net\x1b[2J", "2",
                                       std::nullopt, "lanacfg setlananumber 2 0",
                                       "exited with status 1"});
        // <PRIORITY>TIMESTAMP quorvel[PID]: TEXT
        const ssize_t size = ::recv(syslog.socket, received, sizeof received, 0);
        datagram.assign(received, size < 0 ? 0 : static_cast<std::size_t>(size));
        EXPECT_EQ(datagram.rfind("<" + std::to_string(c.priority) + ">", 0), 0u) << datagram;
        EXPECT_NE(datagram.find(" quorvel[" + std::to_string(::getpid()) +
                                R"(]: The adapter "Net\x1b[2J" )" + c.words + asked),
                  std::string::npos)
            << datagram;
    }
    EXPECT_TRUE(datagram.ends_with(asked + R"(the command "lanacfg setlananumber 2 0" exited with )"
                                           "status 1. Its LANA was 2 before and is unknown after."))
        << datagram;
}

} // namespace
