#include "state_lock.h"

#include "file_descriptor_posix.h"
#include "plain_file_posix.h"
#include "test_hooks.h"
#include "tool_error.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <system_error>
#include <thread>

namespace lanacfg {

struct StateLock::Held {
    FileDescriptor file;
};

namespace {

constexpr std::string_view kOpenAction = "cannot open lock file";

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

FileDescriptor openLockFile(const std::string& lockPath, StateLock::Mode mode)
{
    if (mode == StateLock::Mode::Read) {
        FileDescriptor file = openPlainFile(lockPath, O_RDONLY, 0, kOpenAction);
        if (file.isOpen() || errno != ENOENT)
            return file;
    }
    return openPlainFile(lockPath, O_RDWR | O_CREAT, 0644, kOpenAction);
}

} // namespace

StateLock::StateLock(const std::string& statePath, Mode mode)
{
    if (const int pause = pauseBeforeChangeMilliseconds(); mode == Mode::Change && pause > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(pause));
    if (mode == Mode::Change)
        createFolderOf(statePath);

    const std::string lockPath = statePath + ".lock";
    FileDescriptor file = openLockFile(lockPath, mode);
    if (!file.isOpen()) {
        // The state file is only ever replaced whole by rename, so a reader that cannot
        // lock (no folder yet, a read-only one) still sees one complete table.
        if (mode == Mode::Read && (errno == ENOENT || errno == EACCES || errno == EROFS))
            return;
        throwSystemFailure(kOpenAction, lockPath);
    }

    const int operation = mode == Mode::Read ? LOCK_SH : LOCK_EX;
    while (::flock(file.get(), operation) != 0) {
        if (errno != EINTR)
            throwSystemFailure("cannot lock", lockPath);
    }
    held_ = std::make_unique<Held>(Held{std::move(file)});
}

StateLock::~StateLock() = default;

} // namespace lanacfg
