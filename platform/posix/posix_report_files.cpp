// The report file on a POSIX disk: opened and read with the POSIX calls, since QFile can
// neither refuse a link nor open without blocking; named and removed through QtCore.
#include "platform/posix/run_interruption.h"
#include "platform/system_access.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace quorvel {

namespace {

QString qtPath(const std::string& path)
{
    return QString::fromLocal8Bit(path.data(), static_cast<qsizetype>(path.size()));
}

// Messages name the file as the user would find it, not as the program happened to spell it.
std::string displayName(const std::string& path)
{
    return QDir::toNativeSeparators(QFileInfo(qtPath(path)).absoluteFilePath())
        .toLocal8Bit()
        .toStdString();
}

[[noreturn]] void fail(const char* what, const std::string& path, const std::string& reason)
{
    throw OperationError(std::string(what) + " \"" + displayName(path) + "\": " + reason);
}

// O_NONBLOCK: a FIFO in the report's place would otherwise hold the open until someone
// writes to it. O_NOFOLLOW: the report is the file the redirection made, never a link.
int openReport(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        fail("Could not open", path,
             error == ELOOP ? "it is a symbolic link, not a report file" : std::strerror(error));
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        fail("Refused to read", path, "it is not a regular file");
    }
    return fd;
}

class OpenPosixReport : public OpenReportFile {
public:
    explicit OpenPosixReport(std::string path) : path_(std::move(path)), fd_(openReport(path_)) {}
    ~OpenPosixReport() override { ::close(fd_); }
    OpenPosixReport(const OpenPosixReport&) = delete;
    OpenPosixReport& operator=(const OpenPosixReport&) = delete;

    std::uintmax_t size() override
    {
        struct stat status {};
        if (::fstat(fd_, &status) != 0)
            fail("Could not read", path_, std::strerror(errno));
        return static_cast<std::uintmax_t>(status.st_size);
    }

    std::size_t read(char* into, std::size_t room) override
    {
        for (;;) {
            const ssize_t got = ::read(fd_, into, room);
            if (got >= 0)
                return static_cast<std::size_t>(got);
            if (errno != EINTR)
                fail("Could not read", path_, std::strerror(errno));
        }
    }

private:
    std::string path_;
    int fd_;
};

// A run's private folder is named for the program, locked (flock) by the run for its life, and
// removed by the next run that finds it unlocked: that of a run that was killed.
constexpr std::string_view kPrivateFolderPrefix = "quorvel-report-";

// The folder opened and locked, never through a link; -1 when another holds its lock or it
// cannot be opened.
int lockedFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Empties a locked folder through its descriptor and removes it: only what lies in the folder
// that was locked goes, whatever has since been put at its path. A folder that a report command
// made in it goes only when empty.
void removeLockedFolder(int fd, const std::string& folder)
{
    if (DIR* entries = ::fdopendir(::dup(fd))) {
        while (const dirent* entry = ::readdir(entries)) {
            if (::unlinkat(fd, entry->d_name, 0) != 0)
                ::unlinkat(fd, entry->d_name, AT_REMOVEDIR);
        }
        ::closedir(entries);
    }
    ::rmdir(folder.c_str());
}

// Removes the private folders in `temporary` of this user's runs that have ended without
// removing theirs; the lock of a running one is held, and a link is never followed.
void sweepFoldersOfEndedRuns(const std::string& temporary)
{
    const std::unique_ptr<DIR, int (*)(DIR*)> entries(::opendir(temporary.c_str()), ::closedir);
    if (!entries)
        return;
    while (const dirent* entry = ::readdir(entries.get())) {
        if (!std::string_view(entry->d_name).starts_with(kPrivateFolderPrefix))
            continue;
        const std::string folder = temporary + "/" + entry->d_name;
        const int fd = lockedFolder(folder);
        if (fd < 0)
            continue;
        struct stat status {};
        if (::fstat(fd, &status) == 0 && status.st_uid == ::geteuid())
            removeLockedFolder(fd, folder);
        ::close(fd);
    }
}

// Within the run's own folder, if it has one.
std::string placed(PrivateReportFolder* folder, const std::string& path)
{
    return folder != nullptr ? folder->path() + "/" + path : path;
}

} // namespace

PrivateReportFolder::~PrivateReportFolder()
{
    if (path_.empty())
        return;
    noteReportFolder(nullptr);
    removeLockedFolder(static_cast<int>(inUse_), path_);
    ::close(static_cast<int>(inUse_));
}

const SystemPath& PrivateReportFolder::path()
{
    if (!path_.empty())
        return path_;
    const char* tmpdir = std::getenv("TMPDIR");
    const std::string temporary = tmpdir != nullptr && tmpdir[0] == '/' ? tmpdir : "/tmp";
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
        std::string folder = temporary + "/" + std::string(kPrivateFolderPrefix) + "XXXXXX";
        // mkdtemp makes it with a name nobody had and for this user alone (0700).
        if (::mkdtemp(folder.data()) == nullptr)
            throw OperationError("Could not make a folder for the report in \"" + temporary +
                                 "\": " + std::strerror(errno));
        // Another run's sweep may have taken it before it was locked; then it is not used.
        const int fd = lockedFolder(folder);
        struct stat status {};
        if (fd >= 0 && ::fstat(fd, &status) == 0 && status.st_nlink > 0) {
            path_ = std::move(folder);
            inUse_ = fd;
        } else if (fd >= 0) {
            ::close(fd);
        }
    }
    if (path_.empty())
        throw OperationError("Could not make a folder for the report in \"" + temporary +
                             "\": each one made was taken away at once");
    noteReportFolder(path_.c_str());
    sweepFoldersOfEndedRuns(temporary);
    return path_;
}

void SystemReportFiles::removeLeftover(const std::string& shortPath)
{
    const std::string path = placed(reportFolder_, shortPath);
    const QFileInfo entry(qtPath(path));
    // A dangling link does not "exist", yet it must go like anything else there.
    if (!entry.exists() && !entry.isSymLink())
        return;
    if (entry.isDir() && !entry.isSymLink())
        fail("Could not remove", path, "a folder stands where the report file must be written");
    QFile file(qtPath(path));
    if (!file.remove())
        fail("Could not remove", path,
             "it is left from an earlier run and could not pass for the new report: " +
                 file.errorString().toStdString());
}

std::unique_ptr<OpenReportFile> SystemReportFiles::open(const std::string& shortPath)
{
    return std::make_unique<OpenPosixReport>(placed(reportFolder_, shortPath));
}

std::string SystemReportFiles::shownName(const std::string& shortPath)
{
    return displayName(placed(reportFolder_, shortPath));
}

NarrowFromUtf16 SystemReportFiles::narrowEncoding() const
{
    return utf8FromUtf16;
}

void SystemReportFiles::remove(const std::string& shortPath)
{
    const std::string path = placed(reportFolder_, shortPath);
    QFile file(qtPath(path));
    if (!file.remove())
        fail("Could not delete", path, file.errorString().toStdString());
}

} // namespace quorvel
