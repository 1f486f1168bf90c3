#include "child_process.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <spawn.h>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quorvel::bench {

namespace {

std::string nameOf(const std::string& entry)
{
    return entry.substr(0, entry.find('='));
}

std::vector<std::string> mergedEnvironment(const std::vector<std::string>& extraEnv)
{
    std::vector<std::string> merged;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string inherited(*entry);
        bool overridden = false;
        for (const std::string& extra : extraEnv)
            overridden = overridden || nameOf(extra) == nameOf(inherited);
        if (!overridden)
            merged.push_back(inherited);
    }
    merged.insert(merged.end(), extraEnv.begin(), extraEnv.end());
    return merged;
}

} // namespace

ChildRun runChild(const std::string& program, const std::vector<std::string>& extraEnv)
{
    std::vector<std::string> environment = mergedEnvironment(extraEnv);
    std::vector<char*> envp;
    envp.reserve(environment.size() + 1);
    for (std::string& entry : environment)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::string programCopy = program;
    std::array<char*, 2> argv{programCopy.data(), nullptr};

    ChildRun run;
    pid_t pid = 0;
    run.started = std::chrono::steady_clock::now();
    if (const int error =
            ::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), envp.data()))
        throw std::runtime_error("cannot start " + program + ": " + std::strerror(error));

    int status = 0;
    rusage usage{};
    pid_t waited = 0;
    do {
        waited = ::wait4(pid, &status, 0, &usage);
    } while (waited == -1 && errno == EINTR);
    run.ended = std::chrono::steady_clock::now();
    if (waited == -1)
        throw std::runtime_error("cannot wait for " + program + ": " + std::strerror(errno));

    run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.peakRssKiB = usage.ru_maxrss;
    return run;
}

} // namespace quorvel::bench
