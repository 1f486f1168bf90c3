#pragma once

// What the stand-in is, said alike by the first line of its --help and, on Windows, by the
// version resource's FileDescription (lanacfg.rc), which Explorer and Task Manager show.
#define LANACFG_DESCRIPTION                                                                        \
    "A simulation of lanacfg for trying Quorvel; it changes nothing on the system"

// The resource compiler reads this file for the line above and knows no C++.
#ifndef RC_INVOKED

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

#endif
