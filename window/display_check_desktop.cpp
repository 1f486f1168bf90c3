#include "display_check.h"

namespace quorvel {

// Windows and macOS sessions always come with their display.
std::optional<std::string> missingDisplayReason()
{
    return std::nullopt;
}

} // namespace quorvel
