#include "display_check.h"

#include <QtGlobal>

namespace quorvel {

namespace {

constexpr const char* kNoDisplayText =
    "no display found (DISPLAY is not set); start it from a desktop session";

} // namespace

std::optional<std::string> missingDisplayReason()
{
    // An explicit platform plugin (offscreen, vnc, ...) needs no display server.
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY")
        || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return std::nullopt;
    return std::string(kNoDisplayText);
}

} // namespace quorvel
