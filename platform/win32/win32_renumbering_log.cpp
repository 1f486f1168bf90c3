// The system's log on Windows: the Application event log, source "Quorvel". Only the inserts
// go into an entry; Event Viewer takes the sentence from the message table of the program that
// the source names (EventMessageFile, which the MSI registers), and the user from the SID.
#include "ansi_text.h"
#include "owned_handle.h"
#include "platform/renumbering_events.h"
#include "platform/system_access.h"
#include "system_message.h"

#include <windows.h>

#include <iterator>
#include <string>
#include <vector>

namespace quorvel {

namespace {

constexpr const wchar_t* kEventSource = L"Quorvel";

struct EventSourceTraits {
    static bool isSome(HANDLE source) { return source != nullptr; }
    static void free(HANDLE source) { ::DeregisterEventSource(source); }
};

[[noreturn]] void fail(DWORD error)
{
    throw OperationError("Could not write to the Application event log: " + systemMessage(error));
}

WORD eventType(EventSeverity severity)
{
    switch (severity) {
    case EventSeverity::Information:
        return EVENTLOG_INFORMATION_TYPE;
    case EventSeverity::Warning:
        return EVENTLOG_WARNING_TYPE;
    case EventSeverity::Error:
        break;
    }
    return EVENTLOG_ERROR_TYPE;
}

// The process token's TOKEN_USER, empty when it cannot be read: the entry then goes without a
// SID, its text naming the user still.
std::vector<unsigned char> tokenUser()
{
    HANDLE token = nullptr;
    if (::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token) == 0)
        return {};
    const OwnedHandle owned(token);
    DWORD size = 0;
    ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<unsigned char> user(size);
    if (size == 0 || ::GetTokenInformation(token, TokenUser, user.data(), size, &size) == 0)
        return {};
    return user;
}

} // namespace

void SystemRenumberingLog::record(const RenumberingRecord& record)
{
    const RenumberingEvent event = renumberingEvent(record, userName());
    std::wstring inserts[std::tuple_size_v<decltype(event.inserts)>];
    const wchar_t* insertPointers[std::size(inserts)];
    for (std::size_t i = 0; i < std::size(inserts); ++i) {
        inserts[i] = wideFromAnsi(event.inserts[i]);
        insertPointers[i] = inserts[i].c_str();
    }
    const std::vector<unsigned char> user = tokenUser();
    const PSID sid =
        user.empty() ? nullptr : reinterpret_cast<const TOKEN_USER*>(user.data())->User.Sid;

    const Owned<HANDLE, EventSourceTraits> source(::RegisterEventSourceW(nullptr, kEventSource));
    if (!source.isOpen())
        fail(::GetLastError());
    if (::ReportEventW(source.get(), eventType(event.severity), 0, event.messageId, sid,
                       static_cast<WORD>(std::size(inserts)), 0, insertPointers, nullptr) == 0)
        fail(::GetLastError());
}

} // namespace quorvel
