#pragma once

#include "binding_table.h"

#include <string>
#include <string_view>

namespace lanacfg {

// The state file text: one binding a line, "LANA<TAB>protocol<TAB>adapter".
// Throws StateError naming sourceName and the line for text that is not such a table.
BindingTable parseStateText(std::string_view text, const std::string& sourceName);

std::string formatStateText(const BindingTable& table);

} // namespace lanacfg
