#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lanacfg {

struct Command {
    enum class Kind { Help, ShowLanaPaths, SetLanaNumber };

    Kind kind = Kind::Help;
    int lana = 0;
    int newLana = 0;
};

// The arguments after the program name. Throws UsageError for anything else.
Command parseCommandLine(const std::vector<std::string_view>& args);

std::string helpText();

} // namespace lanacfg
