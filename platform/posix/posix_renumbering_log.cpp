// The system's log on POSIX: syslog(3), with the sentences of the Windows edition's event
// messages filled in as FormatMessage fills them.
#include "platform/renumbering_events.h"
#include "platform/system_access.h"

#include <cstddef>
#include <string>
#include <syslog.h>

namespace quorvel {

namespace {

// The message's text with %1 to %9 replaced by their inserts, taken as they are; %% and any
// other escape (%. %!) stand for the character after the %.
std::string sentenceWithInserts(const RenumberingEvent& event)
{
    std::string text;
    for (const char* c = event.sentence; *c != '\0'; ++c) {
        if (*c != '%' || c[1] == '\0') {
            text += *c;
            continue;
        }
        ++c;
        if (*c >= '1' && *c <= '9')
            text += event.inserts.at(static_cast<std::size_t>(*c - '1'));
        else
            text += *c;
    }
    return text;
}

int priority(EventSeverity severity)
{
    switch (severity) {
    case EventSeverity::Information:
        return LOG_INFO;
    case EventSeverity::Warning:
        return LOG_WARNING;
    case EventSeverity::Error:
        break;
    }
    return LOG_ERR;
}

} // namespace

void SystemRenumberingLog::record(const RenumberingRecord& record)
{
    const RenumberingEvent event = renumberingEvent(record, userName());
    // Opened and closed around each entry: the ident is ours whatever else in the process used
    // syslog, and no connection to the logger outlives the entry.
    ::openlog("quorvel", LOG_PID, LOG_USER);
    ::syslog(priority(event.severity), "%s", sentenceWithInserts(event).c_str());
    ::closelog();
}

} // namespace quorvel
