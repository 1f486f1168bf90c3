#include "lana_number.h"

#include "binding_table.h"

namespace lanacfg {

std::optional<int> parseLanaNumber(std::string_view text)
{
    if (text.empty())
        return std::nullopt;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        // Stopping at the first value too large keeps a long run of digits from overflowing.
        if (value > kMaxLana)
            return std::nullopt;
    }
    return value;
}

} // namespace lanacfg
