#include "run_interruption.h"

#include "inventory/lanacfg_contract.h"

#include <array>
#include <atomic>
#include <pthread.h>
#include <string_view>
#include <unistd.h>

namespace quorvel {

namespace {

constexpr std::array kTerminatingSignals{SIGINT, SIGTERM, SIGHUP};

std::atomic<pid_t> reportCommandGroup{0};
static_assert(std::atomic<pid_t>::is_always_lock_free, "read in a signal handler");

// A NUL-terminated copy of the report file's name, for unlink() in the handler.
constexpr std::array<char, kReportFileName.size() + 1> kReportFilePath = [] {
    std::array<char, kReportFileName.size() + 1> path{};
    for (std::size_t i = 0; i < kReportFileName.size(); ++i)
        path[i] = kReportFileName[i];
    return path;
}();

// The report folder and the report file in it, NUL-terminated for the handler; read there only
// while reportFolderNoted is set.
std::array<char, 4096> reportFolder{};
std::array<char, 4096> reportFolderFile{};
std::atomic<bool> reportFolderNoted{false};

// Only async-signal-safe calls here.
void endRun(int signalNumber)
{
    if (const pid_t group = reportCommandGroup.load(); group > 0)
        ::kill(-group, SIGKILL);
    if (reportFolderNoted.load()) {
        ::unlink(reportFolderFile.data());
        ::rmdir(reportFolder.data());
    } else {
        ::unlink(kReportFilePath.data());
    }
    // SA_RESETHAND and SA_NODEFER: the signal now ends the program as it would have.
    ::raise(signalNumber);
}

sigset_t terminatingSignals()
{
    sigset_t set{};
    sigemptyset(&set);
    for (const int signalNumber : kTerminatingSignals)
        sigaddset(&set, signalNumber);
    return set;
}

} // namespace

void endRunsCleanlyOnSignals()
{
    for (const int signalNumber : kTerminatingSignals) {
        struct sigaction before {};
        if (::sigaction(signalNumber, nullptr, &before) != 0 || before.sa_handler == SIG_IGN)
            continue;
        struct sigaction action {};
        action.sa_handler = endRun;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESETHAND | SA_NODEFER;
        ::sigaction(signalNumber, &action, nullptr);
    }
}

ReportCommandStart::ReportCommandStart()
{
    const sigset_t held = terminatingSignals();
    ::pthread_sigmask(SIG_BLOCK, &held, &before_);
}

ReportCommandStart::~ReportCommandStart()
{
    ::pthread_sigmask(SIG_SETMASK, &before_, nullptr);
}

void noteReportCommandGroup(pid_t group)
{
    reportCommandGroup.store(group);
}

void noteReportFolder(const char* folder)
{
    reportFolderNoted.store(false);
    if (folder == nullptr)
        return;
    const std::string_view name(folder);
    // A folder name too long to copy is left for its owner to remove, as it would be anyway.
    if (name.size() + 1 + kReportFileName.size() >= reportFolderFile.size())
        return;
    name.copy(reportFolder.data(), name.size());
    reportFolder[name.size()] = '\0';
    name.copy(reportFolderFile.data(), name.size());
    reportFolderFile[name.size()] = '/';
    kReportFileName.copy(reportFolderFile.data() + name.size() + 1, kReportFileName.size());
    reportFolderFile[name.size() + 1 + kReportFileName.size()] = '\0';
    reportFolderNoted.store(true);
}

} // namespace quorvel
