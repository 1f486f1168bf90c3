#pragma once

#include "assignment/renumbering_log.h"

#include <array>
#include <cstdint>
#include <string>

namespace quorvel {

// How the system's log classes an entry: an event type on Windows, a severity for syslog.
enum class EventSeverity { Information, Warning, Error };

// The system log's entry for one renumbering, as platform/renumbering_events.mc words it.
struct RenumberingEvent {
    // As the message table numbers it: the severity in the top bits, the event ID in the low 16.
    std::uint32_t messageId;
    EventSeverity severity;
    const char* sentence;               // the message's text, its inserts %1 to %7 unfilled
    std::array<std::string, 7> inserts; // their texts, control characters escaped as \xNN
};

// The entry for `record`, asked for by the user named `user`.
RenumberingEvent renumberingEvent(const RenumberingRecord& record, const std::string& user);

} // namespace quorvel
