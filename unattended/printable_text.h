#pragma once

#include <string>
#include <string_view>

namespace quorvel {

// Text for a message on a terminal: control characters, which a report could use to forge
// or hide output (ESC, CR, BEL, ...), shown as \xNN escapes; every other byte as it is.
std::string printableText(std::string_view text);

} // namespace quorvel
