#pragma once

#include <optional>
#include <string>

namespace quorvel {

// Why no window can be shown here, or nothing when a display is at hand. Asked before
// QApplication starts, which would otherwise abort the program with a core dump.
std::optional<std::string> missingDisplayReason();

} // namespace quorvel
