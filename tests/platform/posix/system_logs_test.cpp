#include "platform/system_access.h"
#include "tests/support/error_of.h"
#include "tests/support/file_contents.h"
#include "tests/support/scratch_folder.h"

#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sched.h>
#include <set>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <syslog.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace quorvel;
using quorvel::testing::errorOf;
using quorvel::testing::readFile;
using quorvel::testing::ScratchFolder;

constexpr int kSkipped = 77;

// In a child process with a mount namespace of its own, a tmpfs over /dev and a datagram socket
// at /dev/log: writes each record and hands what the logger got back through `out`, one
// datagram after another, each ended by a null byte. Ends with kSkipped where it may not mount.
[[noreturn]] void catchSyslog(const std::vector<RenumberingRecord>& records, int out)
{
    // Private first, so that nothing mounted here reaches the system's /dev.
    if (::unshare(CLONE_NEWNS) != 0 ||
        ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount("tmpfs", "/dev", "tmpfs", 0, nullptr) != 0)
        ::_exit(kSkipped);
    const int logger = ::socket(AF_UNIX, SOCK_DGRAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, "/dev/log");
    const timeval wait{5, 0};
    if (::bind(logger, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::setsockopt(logger, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait) != 0)
        ::_exit(1);
    for (const RenumberingRecord& record : records) {
        SystemRenumberingLog().record(record);
        char datagram[4096];
        const ssize_t size = ::recv(logger, datagram, sizeof datagram - 1, 0);
        datagram[size < 0 ? 0 : size] = '\0';
        if (::write(out, datagram, std::strlen(datagram) + 1) < 0)
            ::_exit(1);
    }
    ::_exit(0);
}

TEST(SystemRenumberingLog, SendsEachResultToSyslogInItsWords)
{
    const std::string user = ::getpwuid(::getuid())->pw_name;
    struct Case {
        RenumberingRecord record;
        int priority;
        std::string text;
    };
    const Case cases[] = {
        {{RenumberingResult::Renumbered, RenumberingProgram::Window, "Intel(R) PRO/100", "2", "0",
          "lanacfg setlananumber 2 0", "exited with status 0"},
         LOG_USER | LOG_INFO,
         "The adapter \"Intel(R) PRO/100\" was given LANA 0 for user " + user +
             " through the window: the command \"lanacfg setlananumber 2 0\" exited with status "
             "0. Its LANA was 2 before and is 0 after."},
        {{RenumberingResult::AlreadyOnLana0, RenumberingProgram::Options, "3Com 100%", "0", "0", "",
          ""},
         LOG_USER | LOG_WARNING,
         "The adapter \"3Com 100%\" was left as it is for user " + user +
             " through the options for scripts: it shows LANA 0 already, so no command was run."},
        {{RenumberingResult::Refused, RenumberingProgram::Window, "Net\x1b[2J", "4&x", std::nullopt,
          "", "its LANA text \"4&x\" is no number"},
         LOG_USER | LOG_WARNING,
         "The adapter \"Net\\x1b[2J\" was not given LANA 0 for user " + user +
             " through the window: its LANA text \"4&x\" is no number. No command was run, and "
             "the list shows its LANA as \"4&x\"."},
        {{RenumberingResult::Failed, RenumberingProgram::Options, "NE2000", "3", std::nullopt,
          "lanacfg setlananumber 3 0", "exited with status 5"},
         LOG_USER | LOG_ERR,
         "The adapter \"NE2000\" could not be given LANA 0 for user " + user +
             " through the options for scripts: the command \"lanacfg setlananumber 3 0\" exited "
             "with status 5. Its LANA was 3 before and is unknown after."},
    };
    std::vector<RenumberingRecord> records;
    for (const Case& c : cases)
        records.push_back(c.record);
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    const pid_t child = ::fork();
    if (child == 0)
        catchSyslog(records, pipeEnds[1]);
    ::close(pipeEnds[1]);
    std::string caught;
    char chunk[4096];
    for (ssize_t size; (size = ::read(pipeEnds[0], chunk, sizeof chunk)) > 0;)
        caught.append(chunk, static_cast<std::size_t>(size));
    ::close(pipeEnds[0]);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    if (WIFEXITED(status) && WEXITSTATUS(status) == kSkipped)
        GTEST_SKIP()
            << "Not checked: catching syslog's datagrams needs root, to mount a tmpfs over "
               "/dev in a mount namespace of the test's own.";
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;

    std::size_t start = 0;
    for (const Case& c : cases) {
        const std::size_t end = caught.find('\0', start);
        const std::string datagram = caught.substr(start, end - start);
        start = end + 1;
        SCOPED_TRACE(datagram);
        // <PRIORITY>TIMESTAMP quorvel[PID]: TEXT
        EXPECT_EQ(datagram.rfind("<" + std::to_string(c.priority) + ">", 0), 0);
        const std::string ident = " quorvel[" + std::to_string(child) + "]: ";
        EXPECT_NE(datagram.find(ident), std::string::npos);
        EXPECT_EQ(datagram.substr(datagram.find("]: ") + 3), c.text);
    }
}

std::string lineOf(int writer, int number)
{
    // Lines of a few pages each, which a cut or interleaved write would show in.
    return "writer " + std::to_string(writer) + " line " + std::to_string(number) + "\t" +
           std::string(9000, static_cast<char>('a' + writer));
}

TEST(RunLogFile, TakesTwentyWholeLinesFromTwoProcessesAtOnce)
{
    const ScratchFolder scratch;
    const std::string path = (scratch / "runs.log").string();
    pid_t writers[2];
    for (int writer = 0; writer < 2; ++writer) {
        writers[writer] = ::fork();
        if (writers[writer] == 0) {
            for (int number = 0; number < 10; ++number)
                appendRunLogLine(path, lineOf(writer, number));
            ::_exit(0);
        }
    }
    for (const pid_t writer : writers) {
        int status = 0;
        ASSERT_EQ(::waitpid(writer, &status, 0), writer);
        EXPECT_EQ(status, 0);
    }
    std::multiset<std::string> expected;
    for (int writer = 0; writer < 2; ++writer)
        for (int number = 0; number < 10; ++number)
            expected.insert(lineOf(writer, number) + "\n");
    const std::string log = readFile(path);
    std::multiset<std::string> lines;
    for (std::size_t start = 0; start < log.size();) {
        const std::size_t end = std::min(log.find('\n', start), log.size() - 1);
        lines.insert(log.substr(start, end - start + 1));
        start = end + 1;
    }
    EXPECT_EQ(lines, expected);
}

TEST(RunLogFile, NamesAFileItCannotWrite)
{
    const ScratchFolder scratch;
    for (const std::string& path :
         {(scratch / "no folder/runs.log").string(), scratch.path().string()}) {
        SCOPED_TRACE(path);
        EXPECT_NE(errorOf([&] {
                      appendRunLogLine(path, "line");
                  }).find("Could not write the log file \"" + path + "\": "),
                  std::string::npos);
    }
}

} // namespace
