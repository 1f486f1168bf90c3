#include "lanacfg_run.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <stdexcept>
#include <string_view>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

std::atomic<int> runCounter{0};

bool isToolVariable(std::string_view entry)
{
    return entry.starts_with("LANACFG_");
}

} // namespace

LanacfgRun::LanacfgRun(const std::filesystem::path& statePath, const std::vector<std::string>& args,
                       const std::vector<std::string>& extraEnv)
{
    const std::string stem =
        "run-" + std::to_string(::getpid()) + "-" + std::to_string(++runCounter);
    const std::filesystem::path captureDir = std::filesystem::temp_directory_path();
    outPath_ = captureDir / (stem + ".out");
    errPath_ = captureDir / (stem + ".err");

    std::vector<std::string> env;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        if (!isToolVariable(*entry))
            env.emplace_back(*entry);
    }
    env.push_back("LANACFG_STATE=" + statePath.string());
    env.insert(env.end(), extraEnv.begin(), extraEnv.end());

    std::vector<std::string> argStrings{LANACFG_PATH};
    argStrings.insert(argStrings.end(), args.begin(), args.end());
    const auto pointers = [](std::vector<std::string>& strings) {
        std::vector<char*> result;
        result.reserve(strings.size() + 1);
        for (std::string& s : strings)
            result.push_back(s.data());
        result.push_back(nullptr);
        return result;
    };
    std::vector<char*> argv = pointers(argStrings);
    std::vector<char*> envp = pointers(env);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    const int error = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0)
        throw std::runtime_error(std::string("cannot start ") + LANACFG_PATH);
}

LanacfgRun::~LanacfgRun()
{
    if (pid_ > 0) {
        kill();
        wait();
    }
    std::error_code ignored;
    std::filesystem::remove(outPath_, ignored);
    std::filesystem::remove(errPath_, ignored);
}

void LanacfgRun::kill() const
{
    if (pid_ > 0)
        ::kill(pid_, SIGKILL);
}

RunResult LanacfgRun::wait()
{
    int status = 0;
    // A second wait must not reap some other child: waitpid(-1) would.
    while (pid_ > 0 && ::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(outPath_), readFile(errPath_)};
}

bool LanacfgRun::hasEnded() const
{
    siginfo_t ended{};
    // WNOWAIT leaves the ended run for wait() to collect; EINTR counts as not yet.
    return ::waitid(P_PID, static_cast<id_t>(pid_), &ended, WEXITED | WNOHANG | WNOWAIT) == 0 &&
           ended.si_pid != 0;
}

RunResult LanacfgRun::wait(std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (pid_ > 0 && !hasEnded()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            kill();
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return wait();
}

RunResult runLanacfg(const std::filesystem::path& statePath, const std::vector<std::string>& args)
{
    return LanacfgRun(statePath, args).wait(kHangGuard);
}
