// The report file on a Windows disk, read as bytes (the system's ANSI code page, as a default
// text stream reads it).
#include "platform/system_access.h"

#include "ansi_text.h"
#include "inventory/report_encoding.h"
#include "inventory/system_interfaces.h"
#include "owned_handle.h"
#include "system_message.h"

#include <windows.h>

namespace quorvel {

namespace {

constexpr DWORD kReadStepBytes = DWORD{1024} * 1024;

// Messages name the file as the user would find it, not as the program happened to spell it.
std::string displayName(const std::wstring& path)
{
    std::wstring full(MAX_PATH, L'\0');
    DWORD length =
        ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length > full.size()) {
        full.resize(length);
        length = ::GetFullPathNameW(path.c_str(), length, full.data(), nullptr);
    }
    if (length == 0 || length > full.size())
        return ansiFromWide(path);
    full.resize(length);
    return ansiFromWide(full);
}

[[noreturn]] void fail(const char* what, const std::wstring& path, const std::string& reason)
{
    throw OperationError(std::string(what) + " \"" + displayName(path) + "\": " + reason);
}

[[noreturn]] void refuseNonRegular(const std::wstring& path)
{
    fail("Refused to read", path, "it is not a regular file");
}

bool isFolder(DWORD attributes)
{
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Only a file on a disk: a device name such as NUL or COM1 opens the device, whatever the
// folder holds, and reads as an empty or endless report.
OwnedHandle openReport(const std::wstring& path)
{
    OwnedHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.isOpen()) {
        const DWORD error = ::GetLastError();
        // A folder does not open as a file; say what stands there rather than "access denied".
        if (isFolder(::GetFileAttributesW(path.c_str())))
            refuseNonRegular(path);
        fail("Could not open", path, systemMessage(error));
    }
    if (::GetFileType(file.get()) != FILE_TYPE_DISK)
        refuseNonRegular(path);
    BY_HANDLE_FILE_INFORMATION information{};
    if (::GetFileInformationByHandle(file.get(), &information) == 0)
        fail("Could not read", path, systemMessage(::GetLastError()));
    if (isFolder(information.dwFileAttributes))
        refuseNonRegular(path);
    return file;
}

// Only a read-only mark stands between a leftover and its removal: the report command's
// redirection could not replace it either.
bool deleteEvenIfReadOnly(const std::wstring& path, DWORD attributes)
{
    if (::DeleteFileW(path.c_str()) != 0)
        return true;
    const DWORD error = ::GetLastError();
    const DWORD writable = attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
    if (error != ERROR_ACCESS_DENIED || writable == attributes ||
        ::SetFileAttributesW(path.c_str(), writable != 0 ? writable : FILE_ATTRIBUTE_NORMAL) == 0) {
        ::SetLastError(error);
        return false;
    }
    return ::DeleteFileW(path.c_str()) != 0;
}

} // namespace

void SystemReportFiles::removeLeftover(const std::string& path)
{
    const std::wstring widePath = wideFromAnsi(path);
    const DWORD attributes = ::GetFileAttributesW(widePath.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return;
        fail("Could not remove", widePath, systemMessage(error));
    }
    if (isFolder(attributes))
        fail("Could not remove", widePath, "a folder stands where the report file must be written");
    if (!deleteEvenIfReadOnly(widePath, attributes))
        fail("Could not remove", widePath,
             "it is left from an earlier run and could not pass for the new report: "
                 + systemMessage(::GetLastError()));
    // A file that another program holds open with delete sharing keeps its name, pending
    // deletion, until that program closes it: cmd's redirection would then fail on it, and
    // the old report be read as the new one.
    if (::GetFileAttributesW(widePath.c_str()) != INVALID_FILE_ATTRIBUTES
        || (::GetLastError() != ERROR_FILE_NOT_FOUND && ::GetLastError() != ERROR_PATH_NOT_FOUND))
        fail("Could not remove", widePath,
             "another program holds it open, and it stays until that program closes it");
}

ReportLineTable SystemReportFiles::readLines(const std::string& path, std::uintmax_t maxBytes)
{
    const std::wstring widePath = wideFromAnsi(path);
    const OwnedHandle file = openReport(widePath);
    // The size of the open file, so a swap between the check and the read cannot slip past.
    LARGE_INTEGER fileSize{};
    if (::GetFileSizeEx(file.get(), &fileSize) == 0)
        fail("Could not read", widePath, systemMessage(::GetLastError()));
    const auto size = static_cast<std::uintmax_t>(fileSize.QuadPart);
    if (size > maxBytes)
        refuseOversizedReport(displayName(widePath), size, maxBytes);

    // In bounded steps rather than all at once: a file still being written may have grown
    // since its size was taken.
    std::string bytes;
    // Room for the last, empty read too: growing past it would double the buffer.
    bytes.reserve(static_cast<std::size_t>(size) + kReadStepBytes);
    for (;;) {
        const std::size_t used = bytes.size();
        bytes.resize(used + kReadStepBytes);
        DWORD got = 0;
        const bool read =
            ::ReadFile(file.get(), bytes.data() + used, kReadStepBytes, &got, nullptr) != 0;
        const DWORD error = read ? ERROR_SUCCESS : ::GetLastError();
        bytes.resize(used + got);
        if (!read)
            fail("Could not read", widePath, systemMessage(error));
        if (got == 0)
            break;
        if (bytes.size() > maxBytes)
            refuseOversizedReport(displayName(widePath), bytes.size(), maxBytes);
    }
    const std::string shownName = displayName(widePath);
    return ReportLineTable::split(reportBytes(std::move(bytes), shownName, exactAnsiFromUtf16),
                                  shownName);
}

void SystemReportFiles::remove(const std::string& path)
{
    const std::wstring widePath = wideFromAnsi(path);
    if (::DeleteFileW(widePath.c_str()) == 0)
        fail("Could not delete", widePath, systemMessage(::GetLastError()));
}

} // namespace quorvel
