#include "report_text.h"

#include <algorithm>

namespace quorvel::bench {

namespace {

std::string adapterName(std::size_t index)
{
    return "Intel(R) PRO/1000 MT Network Connection #" + std::to_string(index + 1);
}

} // namespace

std::string reportText(std::size_t bindings, std::size_t netbeuiBindings)
{
    const std::size_t step =
        std::max<std::size_t>(1, bindings / std::max<std::size_t>(1, netbeuiBindings));
    std::string text = "NetBIOS bindings and their LANA numbers\n\n";
    std::size_t netbeuiWritten = 0;
    for (std::size_t i = 0; i < bindings; ++i) {
        const bool netbeui = netbeuiWritten < netbeuiBindings && (i + 1) % step == 0;
        netbeuiWritten += netbeui ? 1 : 0;
        text += "Lana:  " + std::to_string(i) + '\n';
        text += netbeui ? "-->NetBEUI Protocol-->" : "-->NetBT-->";
        text += adapterName(i) + '\n';
    }
    return text;
}

std::string stateText(std::size_t adapters)
{
    std::string text;
    for (std::size_t i = 0; i < adapters; ++i)
        text += std::to_string(i) + "\tNetBEUI Protocol\t" + adapterName(i) + '\n';
    return text;
}

} // namespace quorvel::bench
