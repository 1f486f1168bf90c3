// Quorvel's locks on Windows.
//
// The renumbering lock is a file opened for no one else, with an inheritable handle: the
// commands started while it is held inherit it (CreateProcessW passes such handles on), so that
// a renumbering command left running keeps it until that command ends. The system deletes the
// file when the last of those handles is closed, so a run that dies leaves nothing behind. An
// administrator's is in the Windows folder, where only administrators and SYSTEM may make files,
// and made for them alone: runs in every session take turns, and no other user can hold it. Any
// other user's is in that user's temporary folder; Windows refuses them the renumbering anyway.
//
// A report folder's turn is a mutex of the session, named for the folder. Not the machine's:
// another user could make that first and hold it, and keep this user's window from its report.
#include "ansi_text.h"
#include "owned_handle.h"
#include "platform/system_access.h"
#include "system_message.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace quorvel {

namespace {

constexpr const wchar_t* kLockFileName = L"quorvel-renumbering.lock";

[[noreturn]] void fail(const std::wstring& path, const std::string& reason)
{
    throw OperationError("Could not take the renumbering lock \"" + ansiFromWide(path) +
                         "\": " + reason);
}

// An administrator's lock is the machine's, in its Windows folder (even where a Terminal Server
// gives each user one of their own); any other user's is in the user's temporary folder.
std::wstring lockPath(bool machine)
{
    wchar_t folder[MAX_PATH + 1] = {};
    const UINT length = machine ? ::GetSystemWindowsDirectoryW(folder, MAX_PATH + 1)
                                : static_cast<UINT>(::GetTempPathW(MAX_PATH + 1, folder));
    if (length == 0 || length > MAX_PATH)
        fail(kLockFileName, systemMessage(::GetLastError()));
    std::wstring path(folder, length);
    if (path.back() != L'\\')
        path += L'\\';
    return path + kLockFileName;
}

// Full control for administrators and SYSTEM alone, as the lock file's own security: a file
// left by a power cut then opens for no other user, who could hold it against their runs.
class AdministratorsOnly {
public:
    explicit AdministratorsOnly(const std::wstring& path)
    {
        SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
        if (::AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                       DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                       &administrators_) == 0 ||
            ::AllocateAndInitializeSid(&ntAuthority, 1, SECURITY_LOCAL_SYSTEM_RID, 0, 0, 0, 0, 0, 0,
                                       0, &system_) == 0)
            fail(path, systemMessage(::GetLastError()));
        acl_.resize(sizeof(ACL) + 2 * sizeof(ACCESS_ALLOWED_ACE) + ::GetLengthSid(administrators_) +
                    ::GetLengthSid(system_));
        auto* acl = reinterpret_cast<ACL*>(acl_.data());
        if (::InitializeAcl(acl, static_cast<DWORD>(acl_.size()), ACL_REVISION) == 0 ||
            ::AddAccessAllowedAce(acl, ACL_REVISION, FILE_ALL_ACCESS, administrators_) == 0 ||
            ::AddAccessAllowedAce(acl, ACL_REVISION, FILE_ALL_ACCESS, system_) == 0 ||
            ::InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) == 0 ||
            ::SetSecurityDescriptorDacl(&descriptor_, TRUE, acl, FALSE) == 0)
            fail(path, systemMessage(::GetLastError()));
    }
    ~AdministratorsOnly()
    {
        ::FreeSid(administrators_);
        ::FreeSid(system_);
    }
    AdministratorsOnly(const AdministratorsOnly&) = delete;
    AdministratorsOnly& operator=(const AdministratorsOnly&) = delete;

    SECURITY_DESCRIPTOR* descriptor() { return &descriptor_; }

private:
    PSID administrators_ = nullptr;
    PSID system_ = nullptr;
    std::vector<unsigned char> acl_;
    SECURITY_DESCRIPTOR descriptor_{};
};

} // namespace

SystemRenumberingLock::~SystemRenumberingLock()
{
    release();
}

void SystemRenumberingLock::acquire(std::optional<std::chrono::seconds> wait)
{
    const auto deadline = wait ? std::chrono::steady_clock::now() + *wait
                               : std::chrono::steady_clock::time_point::max();
    const bool machine = userMayRenumber();
    const std::wstring path = lockPath(machine);
    std::optional<AdministratorsOnly> administratorsOnly;
    if (machine)
        administratorsOnly.emplace(path);
    SECURITY_ATTRIBUTES security{sizeof security,
                                 machine ? administratorsOnly->descriptor() : nullptr, TRUE};
    // Tried again after a pause that grows to a tenth of a second, so that a short wait costs
    // little and a long one little processor.
    DWORD pause = 1;
    for (;;) {
        const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ | DELETE, 0, &security,
                                          OPEN_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            held_ = reinterpret_cast<std::intptr_t>(file);
            return;
        }
        // Held by another run or a command it started; or, denied while it is there, being
        // deleted by its last holder.
        const DWORD error = ::GetLastError();
        if (error != ERROR_SHARING_VIOLATION &&
            (error != ERROR_ACCESS_DENIED ||
             ::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES))
            fail(path, systemMessage(error));
        if (std::chrono::steady_clock::now() >= deadline)
            fail(path, "another run was still giving an adapter LANA 0 after " +
                           std::to_string(wait->count()) + " s");
        ::Sleep(pause);
        pause = std::min<DWORD>(pause * 2, 100);
    }
}

void SystemRenumberingLock::release() noexcept
{
    if (held_ == -1)
        return;
    // Only this handle: a command still running holds the file, and the lock, until it ends.
    ::CloseHandle(reinterpret_cast<HANDLE>(held_));
    held_ = -1;
}

namespace {

class Win32ReportFolderTurn : public ReportFolderTurn {
public:
    explicit Win32ReportFolderTurn(OwnedHandle mutex) : mutex_(std::move(mutex)) {}
    ~Win32ReportFolderTurn() override { ::ReleaseMutex(mutex_.get()); }
    Win32ReportFolderTurn(const Win32ReportFolderTurn&) = delete;
    Win32ReportFolderTurn& operator=(const Win32ReportFolderTurn&) = delete;

private:
    OwnedHandle mutex_;
};

[[noreturn]] void failForFolder(const std::wstring& folder, DWORD error)
{
    throw OperationError("Could not take the report folder's lock for \"" + ansiFromWide(folder) +
                         "\": " + systemMessage(error));
}

} // namespace

std::unique_ptr<ReportFolderTurn> SystemReportFiles::takeFolderTurn(const std::string& path)
{
    if (reportFolder_ != nullptr)
        return nullptr;
    const std::wstring widePath = wideFromAnsi(path);
    std::vector<wchar_t> full(MAX_PATH);
    wchar_t* name = nullptr;
    DWORD length = 0;
    while ((length = ::GetFullPathNameW(widePath.c_str(), static_cast<DWORD>(full.size()),
                                        full.data(), &name)) >= full.size())
        full.resize(length);
    if (length == 0 || name == nullptr)
        failForFolder(widePath, ::GetLastError());
    const std::wstring folder(full.data(), name);
    // In upper case, as Windows compares file names.
    std::wstring upper(folder.size(), L'\0');
    ::LCMapStringW(LOCALE_SYSTEM_DEFAULT, LCMAP_UPPERCASE, folder.data(),
                   static_cast<int>(folder.size()), upper.data(), static_cast<int>(upper.size()));
    // 64-bit FNV-1a: a name for a folder of any length. Two folders that share one only take
    // turns that they need not take.
    std::uint64_t hash = 14695981039346656037ULL;
    for (const wchar_t unit : upper)
        hash = (hash ^ static_cast<std::uint16_t>(unit)) * 1099511628211ULL;
    std::wstring mutexName = L"Local\\Quorvel.Report.";
    for (int shift = 60; shift >= 0; shift -= 4)
        mutexName += L"0123456789abcdef"[(hash >> shift) & 0xF];

    OwnedHandle mutex(::CreateMutexW(nullptr, FALSE, mutexName.c_str()));
    if (!mutex.isOpen())
        failForFolder(folder, ::GetLastError());
    const DWORD waited = ::WaitForSingleObject(mutex.get(), INFINITE);
    // An abandoned mutex: its holder ended during its turn, and its turn is over.
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED)
        failForFolder(folder, ::GetLastError());
    return std::make_unique<Win32ReportFolderTurn>(std::move(mutex));
}

} // namespace quorvel
