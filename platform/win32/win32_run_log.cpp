// The run log file on Windows, and the names a log line gives.
#include "ansi_text.h"
#include "owned_handle.h"
#include "platform/system_access.h"
#include "system_message.h"

#include <windows.h>

#include <iterator>
#include <string>
#include <string_view>

namespace quorvel {

namespace {

// Far longer than any run holds the lock for its one write: only a stuck holder reaches it.
constexpr DWORD kLockWaitMilliseconds = 30'000;
// The byte every writer locks: past the end of any log, and within the 32-bit offsets that
// every file server takes. Windows' locks bind every handle, so none may cover the log's text.
constexpr DWORD kLockOffset = 0xFFFFFFFE;

[[noreturn]] void fail(const std::string& path, const std::string& reason)
{
    throw OperationError("Could not write the log file \"" + path + "\": " + reason);
}

// LockFileEx cannot wait for a limited time: try, then try again after a pause that grows to
// a tenth of a second.
void lockForAppending(HANDLE log, OVERLAPPED& range, const std::string& path)
{
    const DWORD start = ::GetTickCount();
    DWORD pause = 1;
    while (::LockFileEx(log, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                        &range) == 0) {
        const DWORD error = ::GetLastError();
        if (error != ERROR_LOCK_VIOLATION)
            fail(path, systemMessage(error));
        if (::GetTickCount() - start >= kLockWaitMilliseconds)
            fail(path, "another run kept it locked for " +
                           std::to_string(kLockWaitMilliseconds / 1000) + " s");
        ::Sleep(pause);
        pause = pause * 2 < 100 ? pause * 2 : 100;
    }
}

} // namespace

void appendRunLogLine(const std::string& path, std::string_view line)
{
    // Shared for writing: other machines append to it at the same time.
    const OwnedHandle log(::CreateFileW(wideFromAnsi(path).c_str(), GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!log.isOpen())
        fail(path, systemMessage(::GetLastError()));
    OVERLAPPED range{};
    range.Offset = kLockOffset;
    lockForAppending(log.get(), range, path);
    const std::string whole = std::string(line) + "\r\n";
    // Both offsets all ones: the write goes to the end of the file as it is then.
    OVERLAPPED atEnd{};
    atEnd.Offset = 0xFFFFFFFF;
    atEnd.OffsetHigh = 0xFFFFFFFF;
    DWORD written = 0;
    const BOOL wrote =
        ::WriteFile(log.get(), whole.data(), static_cast<DWORD>(whole.size()), &written, &atEnd);
    const DWORD error = ::GetLastError();
    ::UnlockFileEx(log.get(), 0, 1, 0, &range);
    if (wrote == 0)
        fail(path, systemMessage(error));
    if (written != whole.size())
        fail(path, "only " + std::to_string(written) + " of " + std::to_string(whole.size()) +
                       " bytes were written");
}

std::string computerName()
{
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
    if (::GetComputerNameW(name, &length) == 0)
        throw OperationError("Could not read this computer's name: " +
                             systemMessage(::GetLastError()));
    return ansiFromWide(std::wstring_view(name, length));
}

std::string userName()
{
    // UNLEN (256) and its terminating null.
    wchar_t name[257];
    DWORD length = std::size(name);
    if (::GetUserNameW(name, &length) == 0)
        throw OperationError("Could not read the user's name: " + systemMessage(::GetLastError()));
    return ansiFromWide(std::wstring_view(name, length - 1));
}

} // namespace quorvel
