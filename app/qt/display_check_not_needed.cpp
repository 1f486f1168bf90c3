#include "display_check.h"

namespace quorvel {

// Systems other than X11 and Wayland desktops always come with their display.
std::optional<std::string> missingDisplayReason()
{
    return std::nullopt;
}

} // namespace quorvel
