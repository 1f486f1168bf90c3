// The report file on a POSIX disk, through QtCore's file classes; opened by hand first, since
// QFile can neither refuse a link nor open without blocking.
#include "platform/system_access.h"

#include "platform/posix/run_interruption.h"

#include "inventory/report_encoding.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <system_error>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvel {

namespace {

constexpr std::size_t kReadStepBytes = std::size_t{64} * 1024;

QString qtPath(const std::string& path)
{
    return QString::fromLocal8Bit(path.data(), static_cast<qsizetype>(path.size()));
}

// Messages name the file as the user would find it, not as the program happened to spell it.
std::string displayName(const std::string& path)
{
    return QDir::toNativeSeparators(QFileInfo(qtPath(path)).absoluteFilePath()).toLocal8Bit().toStdString();
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
    // Never through a link: only the folder and what lies in it go.
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

const SystemPath& PrivateReportFolder::path()
{
    if (!path_.empty())
        return path_;
    const char* tmpdir = std::getenv("TMPDIR");
    std::string pattern = tmpdir != nullptr && tmpdir[0] == '/' ? tmpdir : "/tmp";
    pattern += "/quorvel-XXXXXX";
    // mkdtemp makes it with a name nobody had and for this user alone (0700).
    if (::mkdtemp(pattern.data()) == nullptr)
        throw OperationError("Could not make a folder for the report in \""
                             + pattern.substr(0, pattern.rfind('/')) + "\": " + std::strerror(errno));
    path_ = pattern;
    noteReportFolder(path_.c_str());
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
        fail("Could not remove", path,
             "a folder stands where the report file must be written");
    QFile file(qtPath(path));
    if (!file.remove())
        fail("Could not remove", path,
             "it is left from an earlier run and could not pass for the new report: "
                 + file.errorString().toStdString());
}

ReportLineTable SystemReportFiles::readLines(const std::string& shortPath, std::uintmax_t maxBytes)
{
    const std::string path = placed(reportFolder_, shortPath);
    QFile file;
    const int fd = openReport(path);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        fail("Could not open", path, file.errorString().toStdString());
    }
    // The size of the open file, so a swap between the check and the read cannot slip past.
    const auto size = static_cast<std::uintmax_t>(file.size());
    if (size > maxBytes)
        refuseOversizedReport(displayName(path), size, maxBytes);

    // Read in bounded steps rather than readAll(): a file still being written may have grown
    // since its size was taken.
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(size));
    std::array<char, kReadStepBytes> step{};
    for (;;) {
        const qint64 got = file.read(step.data(), static_cast<qint64>(step.size()));
        if (got < 0)
            fail("Could not read", path, file.errorString().toStdString());
        if (got == 0)
            break;
        bytes.append(step.data(), static_cast<std::size_t>(got));
        if (bytes.size() > maxBytes)
            refuseOversizedReport(displayName(path), bytes.size(), maxBytes);
    }
    const std::string shownName = displayName(path);
    return ReportLineTable::split(reportBytes(std::move(bytes), shownName, utf8FromUtf16),
                                  shownName);
}

void SystemReportFiles::remove(const std::string& shortPath)
{
    const std::string path = placed(reportFolder_, shortPath);
    QFile file(qtPath(path));
    if (!file.remove())
        fail("Could not delete", path, file.errorString().toStdString());
}

} // namespace quorvel
