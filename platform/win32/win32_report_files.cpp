// The report file on a Windows disk, read as bytes (the system's ANSI code page, as a default
// text stream reads it).
#include "ansi_text.h"
#include "inventory/system_interfaces.h"
#include "owned_handle.h"
#include "platform/system_access.h"
#include "system_message.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace quorvel {

namespace {

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

class OpenWin32Report : public OpenReportFile {
public:
    explicit OpenWin32Report(std::wstring path) : path_(std::move(path)), file_(openReport(path_))
    {
    }

    std::uintmax_t size() override
    {
        LARGE_INTEGER size{};
        if (::GetFileSizeEx(file_.get(), &size) == 0)
            fail("Could not read", path_, systemMessage(::GetLastError()));
        return static_cast<std::uintmax_t>(size.QuadPart);
    }

    std::size_t read(char* into, std::size_t room) override
    {
        DWORD got = 0;
        const auto asked = static_cast<DWORD>(std::min<std::size_t>(room, MAXDWORD));
        if (::ReadFile(file_.get(), into, asked, &got, nullptr) == 0)
            fail("Could not read", path_, systemMessage(::GetLastError()));
        return got;
    }

private:
    std::wstring path_;
    OwnedHandle file_;
};

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

// Within the run's own folder, if it has one.
std::wstring placed(PrivateReportFolder* folder, const std::string& path)
{
    return folder != nullptr ? folder->path() + L"\\" + wideFromAnsi(path) : wideFromAnsi(path);
}

// Full control for this user alone, passed on to whatever is made in the folder: nobody else
// may plant a report or a program there.
class UserOnlySecurity {
public:
    UserOnlySecurity()
    {
        HANDLE token = nullptr;
        if (::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token) == 0)
            failToMake(::GetLastError());
        const OwnedHandle ownedToken(token);
        DWORD size = 0;
        ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
        user_.resize(size);
        if (::GetTokenInformation(token, TokenUser, user_.data(), size, &size) == 0)
            failToMake(::GetLastError());
        PSID sid = reinterpret_cast<TOKEN_USER*>(user_.data())->User.Sid;

        acl_.resize(sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + ::GetLengthSid(sid));
        auto* acl = reinterpret_cast<ACL*>(acl_.data());
        if (::InitializeAcl(acl, static_cast<DWORD>(acl_.size()), ACL_REVISION) == 0 ||
            ::AddAccessAllowedAceEx(acl, ACL_REVISION, OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE,
                                    GENERIC_ALL, sid) == 0 ||
            ::InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) == 0 ||
            ::SetSecurityDescriptorDacl(&descriptor_, TRUE, acl, FALSE) == 0 ||
            ::SetSecurityDescriptorControl(&descriptor_, SE_DACL_PROTECTED, SE_DACL_PROTECTED) == 0)
            failToMake(::GetLastError());
        attributes_ = {sizeof attributes_, &descriptor_, FALSE};
    }

    SECURITY_ATTRIBUTES* attributes() { return &attributes_; }

    [[noreturn]] static void failToMake(DWORD error)
    {
        throw OperationError("Could not make a folder for the report: " + systemMessage(error));
    }

private:
    std::vector<unsigned char> user_;
    std::vector<unsigned char> acl_;
    SECURITY_DESCRIPTOR descriptor_{};
    SECURITY_ATTRIBUTES attributes_{};
};

// Empties and removes a folder, never through a link or junction: those go themselves.
void removeFolder(const std::wstring& folder)
{
    WIN32_FIND_DATAW entry{};
    const HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring path = folder + L"\\" + name;
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
                deleteEvenIfReadOnly(path, entry.dwFileAttributes);
            } else if ((entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
                ::RemoveDirectoryW(path.c_str());
            } else {
                removeFolder(path);
            }
        } while (::FindNextFileW(search, &entry) != 0);
        ::FindClose(search);
    }
    // A command that has just ended may hold the folder, its current one, or a file deleted in
    // it, for a moment longer (under wine, or a virus scanner): a second's grace.
    for (int attempt = 0; attempt < 20 && ::RemoveDirectoryW(folder.c_str()) == 0; ++attempt) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return;
        ::Sleep(50);
    }
}

} // namespace

PrivateReportFolder::~PrivateReportFolder()
{
    if (!path_.empty())
        removeFolder(path_);
}

const SystemPath& PrivateReportFolder::path()
{
    if (!path_.empty())
        return path_;
    std::wstring temporary(MAX_PATH + 1, L'\0');
    const DWORD length = ::GetTempPathW(static_cast<DWORD>(temporary.size()), temporary.data());
    if (length == 0 || length > temporary.size())
        UserOnlySecurity::failToMake(::GetLastError());
    temporary.resize(length);
    UserOnlySecurity security;
    // A name nobody has: CreateDirectoryW makes a new folder or fails, never opens another's.
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        std::wstring folder = temporary + L"quorvel-" + std::to_wstring(::GetCurrentProcessId()) +
                              L"-" + std::to_wstring(::GetTickCount() + attempt);
        if (::CreateDirectoryW(folder.c_str(), security.attributes()) != 0) {
            path_ = std::move(folder);
            return path_;
        }
        if (::GetLastError() != ERROR_ALREADY_EXISTS)
            UserOnlySecurity::failToMake(::GetLastError());
    }
    UserOnlySecurity::failToMake(ERROR_ALREADY_EXISTS);
}

void SystemReportFiles::removeLeftover(const std::string& path)
{
    const std::wstring widePath = placed(reportFolder_, path);
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
             "it is left from an earlier run and could not pass for the new report: " +
                 systemMessage(::GetLastError()));
    // A file that another program holds open with delete sharing keeps its name, pending
    // deletion, until that program closes it: cmd's redirection would then fail on it, and
    // the old report be read as the new one.
    if (::GetFileAttributesW(widePath.c_str()) != INVALID_FILE_ATTRIBUTES ||
        (::GetLastError() != ERROR_FILE_NOT_FOUND && ::GetLastError() != ERROR_PATH_NOT_FOUND))
        fail("Could not remove", widePath,
             "another program holds it open, and it stays until that program closes it");
}

std::unique_ptr<OpenReportFile> SystemReportFiles::open(const std::string& path)
{
    return std::make_unique<OpenWin32Report>(placed(reportFolder_, path));
}

std::string SystemReportFiles::shownName(const std::string& path)
{
    return displayName(placed(reportFolder_, path));
}

NarrowFromUtf16 SystemReportFiles::narrowEncoding() const
{
    return exactAnsiFromUtf16;
}

void SystemReportFiles::remove(const std::string& path)
{
    const std::wstring widePath = placed(reportFolder_, path);
    if (::DeleteFileW(widePath.c_str()) == 0)
        fail("Could not delete", widePath, systemMessage(::GetLastError()));
}

} // namespace quorvel
