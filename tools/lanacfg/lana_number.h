#pragma once

#include <optional>
#include <string_view>

namespace lanacfg {

// A LANA number written as plain decimal digits (no sign, no spaces), 0 to kMaxLana.
std::optional<int> parseLanaNumber(std::string_view text);

} // namespace lanacfg
