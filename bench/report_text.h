#pragma once

#include <cstddef>
#include <string>

namespace quorvel::bench {

// A binding report in lanacfg's shape: a title line, a blank line, then a LANA line and a
// binding line for each binding. `netbeuiBindings` of them are NetBEUI on a LAN adapter,
// spread evenly with the last near the end, so that a scan for them crosses the whole report.
std::string reportText(std::size_t bindings, std::size_t netbeuiBindings);

constexpr std::size_t reportLineCount(std::size_t bindings)
{
    return 2 + 2 * bindings;
}

// A lanacfg state file holding `adapters` NetBEUI bindings on LAN adapters.
std::string stateText(std::size_t adapters);

} // namespace quorvel::bench
