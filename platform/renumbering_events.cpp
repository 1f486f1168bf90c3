#include "renumbering_events.h"

#include "inventory/operation_error.h"

#include <cstddef>
#include <iterator>

namespace quorvel {

namespace {

struct EventMessage {
    RenumberingResult result;
    std::uint32_t messageId;
    EventSeverity severity;
    const char* sentence;
};

// One row per message of renumbering_events.mc, which CMake reads when it configures the build.
constexpr EventMessage kEventMessages[] = {
#include "renumbering_event_rows.inc"
};

constexpr bool inResultOrder()
{
    for (std::size_t i = 0; i < std::size(kEventMessages); ++i)
        if (static_cast<std::size_t>(kEventMessages[i].result) != i)
            return false;
    return std::size(kEventMessages) == static_cast<std::size_t>(RenumberingResult::Failed) + 1;
}
static_assert(inResultOrder(), "renumbering_events.mc: one message per result, in their order");

constexpr const char* kWindowProgram = "the window";
constexpr const char* kOptionsProgram = "the options for scripts";
constexpr const char* kUnknownLana = "unknown";

} // namespace

RenumberingEvent renumberingEvent(const RenumberingRecord& record, const std::string& user)
{
    const EventMessage& message = kEventMessages[static_cast<std::size_t>(record.result)];
    return {message.messageId,
            message.severity,
            message.sentence,
            {printableText(record.adapterName), printableText(record.lanaBefore),
             record.lanaAfter ? printableText(*record.lanaAfter) : kUnknownLana,
             printableText(record.command), printableText(record.commandEnd), printableText(user),
             record.program == RenumberingProgram::Window ? kWindowProgram : kOptionsProgram}};
}

} // namespace quorvel
