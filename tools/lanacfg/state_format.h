#pragma once

#include "binding_table.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace lanacfg {

// A table of 255 bindings is a few kilobytes; a file this large is not a state file.
inline constexpr std::size_t kMaxStateBytes = std::size_t{1024} * 1024;
inline constexpr std::string_view kTooLargeForState = "larger than a binding table can be";

// The state file text: one binding a line, "LANA<TAB>protocol<TAB>adapter".
// Throws StateError naming sourceName and the line for text that is not such a table.
BindingTable parseStateText(std::string_view text, const std::string& sourceName);

// Lines end in `lineEnd`: "\r\n" makes a file the Windows editors show as lines.
std::string formatStateText(const BindingTable& table, std::string_view lineEnd = "\n");

} // namespace lanacfg
