#include "state_lock.h"

#include "file_handle_win32.h"
#include "plain_file_win32.h"
#include "test_hooks.h"
#include "tool_error.h"
#include "wide_text_win32.h"
#include "windows_error_win32.h"

#include <string>

namespace lanacfg {

// A lock on a file of its own rather than on the state file: under wine a byte-range lock
// does not keep another process from reading, and the state file is replaced whole.
struct StateLock::Held {
    explicit Held(FileHandle lockFile) : file(std::move(lockFile)) {}
    ~Held()
    {
        OVERLAPPED region{};
        ::UnlockFileEx(file.get(), 0, kLockedBytes, 0, &region);
    }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;

    // Every run locks the same first byte.
    static constexpr DWORD kLockedBytes = 1;
    FileHandle file;
};

namespace {

constexpr std::string_view kOpenAction = "cannot open lock file";

// The folder and any missing ones above it, made with the system's calls: std::filesystem
// would bring in its locale and conversion code, most of the program's size.
void createFolder(const std::wstring& folder)
{
    const auto made = [&folder] {
        if (::CreateDirectoryW(folder.c_str(), nullptr) != 0)
            return true;
        if (::GetLastError() != ERROR_ALREADY_EXISTS)
            return false;
        const DWORD attributes = ::GetFileAttributesW(folder.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            return true;
        ::SetLastError(ERROR_ALREADY_EXISTS);
        return false;
    };
    if (made())
        return;
    const auto parentEnd = folder.find_last_of(L"\\/");
    if (::GetLastError() == ERROR_PATH_NOT_FOUND && parentEnd != std::wstring::npos &&
        parentEnd > 0) {
        createFolder(folder.substr(0, parentEnd));
        if (made())
            return;
    }
    throwWindowsFailure("cannot create folder", utf8FromWide(folder));
}

void createFolderOf(const std::string& path)
{
    const std::wstring wide = wideFromUtf8(path);
    const auto end = wide.find_last_of(L"\\/");
    // A path without a folder, or one in a drive's root ("C:\bindings.txt").
    if (end == std::wstring::npos || end == 0 || wide[end - 1] == L':')
        return;
    createFolder(wide.substr(0, end));
}

FileHandle openLockFile(const std::string& lockPath, StateLock::Mode mode)
{
    if (mode == StateLock::Mode::Read) {
        FileHandle file = openPlainFile(lockPath, GENERIC_READ, OPEN_EXISTING, kOpenAction);
        if (file.isOpen() || ::GetLastError() != ERROR_FILE_NOT_FOUND)
            return file;
    }
    return openPlainFile(lockPath, GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS, kOpenAction);
}

// The state file is only ever replaced whole, so a reader that cannot lock (no folder yet,
// a read-only one) still sees one complete table.
bool readerMayGoUnlocked(DWORD error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
           error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT;
}

} // namespace

StateLock::StateLock(const std::string& statePath, Mode mode)
{
    if (const int pause = pauseBeforeChangeMilliseconds(); mode == Mode::Change && pause > 0)
        ::Sleep(static_cast<DWORD>(pause));
    if (mode == Mode::Change)
        createFolderOf(statePath);

    const std::string lockPath = statePath + ".lock";
    FileHandle file = openLockFile(lockPath, mode);
    if (!file.isOpen()) {
        if (mode == Mode::Read && readerMayGoUnlocked(::GetLastError()))
            return;
        throwWindowsFailure(kOpenAction, lockPath);
    }

    // Without LOCKFILE_FAIL_IMMEDIATELY the call waits until the lock is granted.
    const DWORD flags = mode == Mode::Read ? 0 : LOCKFILE_EXCLUSIVE_LOCK;
    OVERLAPPED region{};
    if (::LockFileEx(file.get(), flags, 0, Held::kLockedBytes, 0, &region) == 0)
        throwWindowsFailure("cannot lock", lockPath);
    held_ = std::make_unique<Held>(std::move(file));
}

StateLock::~StateLock() = default;

} // namespace lanacfg
