// The renumbering lock on Windows: a named mutex of the whole machine, so that runs in every
// session (a logon script, a scheduled task, psexec) take turns; where the machine's namespace
// is refused, the session's. Windows gives an abandoned mutex to the next waiter, so a killed
// run never keeps the others waiting.
#include "owned_handle.h"
#include "platform/system_access.h"
#include "system_message.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <string>

namespace quorvel {

namespace {

constexpr const wchar_t* kMachineMutex = L"Global\\Quorvel.Renumbering";
constexpr const wchar_t* kSessionMutex = L"Local\\Quorvel.Renumbering";

[[noreturn]] void fail(const std::string& reason)
{
    throw OperationError("Could not take the renumbering lock: " + reason);
}

HANDLE openMutex()
{
    // Refused where another account made it with no access for this one, or where the
    // session may not reach the machine's namespace.
    if (const HANDLE mutex = ::CreateMutexW(nullptr, FALSE, kMachineMutex); mutex != nullptr)
        return mutex;
    const HANDLE mutex = ::CreateMutexW(nullptr, FALSE, kSessionMutex);
    if (mutex == nullptr)
        fail(systemMessage(::GetLastError()));
    return mutex;
}

DWORD waitMilliseconds(std::optional<std::chrono::seconds> wait)
{
    if (!wait)
        return INFINITE;
    // INFINITE itself would mean no limit at all.
    return static_cast<DWORD>(std::clamp<std::chrono::milliseconds::rep>(
        std::chrono::milliseconds(*wait).count(), 0, INFINITE - 1));
}

} // namespace

SystemRenumberingLock::~SystemRenumberingLock()
{
    release();
}

void SystemRenumberingLock::acquire(std::optional<std::chrono::seconds> wait)
{
    OwnedHandle mutex(openMutex());
    switch (::WaitForSingleObject(mutex.get(), waitMilliseconds(wait))) {
    case WAIT_OBJECT_0:
    case WAIT_ABANDONED: // its holder ended without letting go; the table is as it left it
        held_ = reinterpret_cast<std::intptr_t>(mutex.release());
        return;
    case WAIT_TIMEOUT:
        fail("another run was still giving an adapter LANA 0 after " +
             std::to_string(wait->count()) + " s");
    default:
        fail(systemMessage(::GetLastError()));
    }
}

void SystemRenumberingLock::release() noexcept
{
    if (held_ == -1)
        return;
    const OwnedHandle mutex(reinterpret_cast<HANDLE>(held_));
    ::ReleaseMutex(mutex.get());
    held_ = -1;
}

} // namespace quorvel
