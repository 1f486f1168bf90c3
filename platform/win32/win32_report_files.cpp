// The report file on a Windows disk, read as bytes (the system's ANSI code page, as a default
// text stream reads it).
#include "ansi_text.h"
#include "inventory/lanacfg_contract.h"
#include "inventory/system_interfaces.h"
#include "owned_handle.h"
#include "platform/system_access.h"
#include "system_message.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
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

// A run's private folder: named for the program in the temporary folder, and marked in use by
// a file in it that the run holds open without sharing for its life. A later run that can open
// that file knows the run has ended (killed, or the machine lost power) and removes the folder.
constexpr std::wstring_view kPrivateFolderPrefix = L"quorvel-report-";
constexpr std::wstring_view kInUseFileName = L"in-use";

// cmd.exe's current folder and the report file that its redirection opens there must each be
// a path of at most MAX_PATH - 1 characters, which the report file's, being longer, decides.
constexpr std::size_t kMostReportPathCharacters = MAX_PATH - 1;

// A folder as a user writes it: without the last backslash, unless it is a drive's root.
std::wstring withoutLastBackslash(std::wstring folder)
{
    if (folder.size() > 3 && folder.back() == L'\\')
        folder.pop_back();
    return folder;
}

[[noreturn]] void failToMake(const std::wstring& temporary, const std::string& reason)
{
    throw OperationError("Could not make a folder for the report in \"" +
                         ansiFromWide(withoutLastBackslash(temporary)) + "\": " + reason);
}

// Full control for this user alone, passed on to whatever is made in the folder, and the user
// its owner: nobody else may plant a report or a program there, and a sweep knows its own.
class UserOnlySecurity {
public:
    explicit UserOnlySecurity(const std::wstring& temporary)
    {
        HANDLE token = nullptr;
        if (::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token) == 0)
            failToMake(temporary, systemMessage(::GetLastError()));
        const OwnedHandle ownedToken(token);
        DWORD size = 0;
        ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
        user_.resize(size);
        if (::GetTokenInformation(token, TokenUser, user_.data(), size, &size) == 0)
            failToMake(temporary, systemMessage(::GetLastError()));
        PSID sid = user();

        acl_.resize(sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + ::GetLengthSid(sid));
        auto* acl = reinterpret_cast<ACL*>(acl_.data());
        if (::InitializeAcl(acl, static_cast<DWORD>(acl_.size()), ACL_REVISION) == 0 ||
            ::AddAccessAllowedAceEx(acl, ACL_REVISION, OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE,
                                    GENERIC_ALL, sid) == 0 ||
            ::InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) == 0 ||
            ::SetSecurityDescriptorOwner(&descriptor_, sid, FALSE) == 0 ||
            ::SetSecurityDescriptorDacl(&descriptor_, TRUE, acl, FALSE) == 0 ||
            ::SetSecurityDescriptorControl(&descriptor_, SE_DACL_PROTECTED, SE_DACL_PROTECTED) == 0)
            failToMake(temporary, systemMessage(::GetLastError()));
        attributes_ = {sizeof attributes_, &descriptor_, FALSE};
    }

    SECURITY_ATTRIBUTES* attributes() { return &attributes_; }
    PSID user() { return reinterpret_cast<TOKEN_USER*>(user_.data())->User.Sid; }

private:
    std::vector<unsigned char> user_;
    std::vector<unsigned char> acl_;
    SECURITY_DESCRIPTOR descriptor_{};
    SECURITY_ATTRIBUTES attributes_{};
};

// Empties a folder, never through a link or junction: those go themselves.
void removeContents(const std::wstring& folder)
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
                removeContents(path);
                ::RemoveDirectoryW(path.c_str());
            }
        } while (::FindNextFileW(search, &entry) != 0);
        ::FindClose(search);
    }
}

// Empties and removes a folder, never through a link or junction.
void removeFolder(const std::wstring& folder)
{
    removeContents(folder);
    // A command that has just ended may hold the folder, its current one, or a file deleted in
    // it, for a moment longer (under wine, or a virus scanner): a second's grace.
    for (int attempt = 0; attempt < 20 && ::RemoveDirectoryW(folder.c_str()) == 0; ++attempt) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return;
        ::Sleep(50);
    }
}

// Whether `user` owns the folder, as this program makes its private folders.
bool ownedBy(const std::wstring& folder, PSID user)
{
    DWORD size = 0;
    ::GetFileSecurityW(folder.c_str(), OWNER_SECURITY_INFORMATION, nullptr, 0, &size);
    std::vector<unsigned char> descriptor(size);
    PSID owner = nullptr;
    BOOL defaulted = FALSE;
    return size != 0 &&
           ::GetFileSecurityW(folder.c_str(), OWNER_SECURITY_INFORMATION, descriptor.data(), size,
                              &size) != 0 &&
           ::GetSecurityDescriptorOwner(descriptor.data(), &owner, &defaulted) != 0 &&
           owner != nullptr && ::EqualSid(owner, user) != 0;
}

// Removes the private folders in `temporary` of this user's runs that have ended without
// removing theirs. A running one holds its in-use file open; one still being made has none yet,
// and may lose its folder only while that is empty: it then makes another.
void sweepFoldersOfEndedRuns(const std::wstring& temporary, PSID user)
{
    WIN32_FIND_DATAW entry{};
    const std::wstring pattern = temporary + std::wstring(kPrivateFolderPrefix) + L"*";
    const HANDLE search = ::FindFirstFileW(pattern.c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring folder = temporary + entry.cFileName;
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
            (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 || !ownedBy(folder, user))
            continue;
        OwnedHandle inUse(::CreateFileW((folder + L"\\" + std::wstring(kInUseFileName)).c_str(),
                                        DELETE, 0, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_DELETE_ON_CLOSE, nullptr));
        if (inUse.isOpen()) {
            removeContents(folder);
            inUse.reset();
        } else if (::GetLastError() != ERROR_FILE_NOT_FOUND) {
            continue;
        }
        ::RemoveDirectoryW(folder.c_str());
    } while (::FindNextFileW(search, &entry) != 0);
    ::FindClose(search);
}

// The system's temporary folder, with its last backslash, however long; checked to be a folder.
std::wstring temporaryFolder()
{
    std::wstring folder(MAX_PATH + 1, L'\0');
    DWORD length = ::GetTempPathW(static_cast<DWORD>(folder.size()), folder.data());
    if (length > folder.size()) {
        folder.resize(length);
        length = ::GetTempPathW(length, folder.data());
    }
    if (length == 0 || length > folder.size()) {
        const DWORD error = ::GetLastError();
        // Named as the user set it: TMP, else TEMP, which the system reads first.
        std::wstring variable;
        for (const wchar_t* name : {L"TMP", L"TEMP"}) {
            variable.assign(32767, L'\0');
            variable.resize(::GetEnvironmentVariableW(name, variable.data(), 32767));
            if (!variable.empty())
                break;
        }
        failToMake(variable, systemMessage(error));
    }
    folder.resize(length);
    // A file named with a backslash after it is no file to the system: asked without one.
    const DWORD attributes = ::GetFileAttributesW(withoutLastBackslash(folder).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        failToMake(folder, systemMessage(::GetLastError()));
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        failToMake(folder, "it is a file, not a folder");
    return folder;
}

} // namespace

PrivateReportFolder::~PrivateReportFolder()
{
    if (path_.empty())
        return;
    ::CloseHandle(reinterpret_cast<HANDLE>(inUse_));
    removeFolder(path_);
}

const SystemPath& PrivateReportFolder::path()
{
    if (!path_.empty())
        return path_;
    const std::wstring temporary = temporaryFolder();
    UserOnlySecurity security(temporary);
    // A name nobody has: CreateDirectoryW makes a new folder or fails, never opens another's.
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        std::wstring folder = temporary + std::wstring(kPrivateFolderPrefix) +
                              std::to_wstring(::GetCurrentProcessId()) + L"-" +
                              std::to_wstring(::GetTickCount() + attempt);
        // Checked before the folder is made: a path too long for cmd.exe crashes it, or worse.
        const std::size_t reportPathLength = folder.size() + 1 + kReportFileName.size();
        if (reportPathLength > kMostReportPathCharacters)
            throw OperationError(
                "Could not use \"" + ansiFromWide(folder) + "\" as the folder for the report: " +
                "the report's path in it would be " + std::to_string(reportPathLength) +
                " characters long, more than the " + std::to_string(kMostReportPathCharacters) +
                " that cmd.exe can use; give TMP and TEMP a shorter folder");
        if (::CreateDirectoryW(folder.c_str(), security.attributes()) == 0) {
            if (::GetLastError() == ERROR_ALREADY_EXISTS)
                continue;
            failToMake(temporary, systemMessage(::GetLastError()));
        }
        OwnedHandle inUse(::CreateFileW((folder + L"\\" + std::wstring(kInUseFileName)).c_str(),
                                        GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!inUse.isOpen()) {
            const DWORD error = ::GetLastError();
            // Another run's sweep took the folder while it was empty.
            if (error == ERROR_PATH_NOT_FOUND)
                continue;
            ::RemoveDirectoryW(folder.c_str());
            failToMake(temporary, systemMessage(error));
        }
        path_ = std::move(folder);
        inUse_ = reinterpret_cast<std::intptr_t>(inUse.release());
        sweepFoldersOfEndedRuns(temporary, security.user());
        return path_;
    }
    failToMake(temporary, systemMessage(ERROR_ALREADY_EXISTS));
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
