#include "control_ids.h"

#include <array>
#include <stdexcept>
#include <string>
#include <utility>

namespace quorvel {

ControlId controlIdOf(std::string_view name)
{
    static constexpr std::array<std::pair<std::string_view, ControlId>, 7> kIds = {{
        {"LABN", ControlId::LABN},
        {"Label1", ControlId::Label1},
        {"lstLANA", ControlId::lstLANA},
        {"lstCard", ControlId::lstCard},
        {"Label2", ControlId::Label2},
        {"cmdExit", ControlId::cmdExit},
        {"cmdSet", ControlId::cmdSet},
    }};
    for (const auto& [controlName, id] : kIds) {
        if (controlName == name)
            return id;
    }
    throw std::logic_error("no control id for " + std::string(name));
}

} // namespace quorvel
