#pragma once

#include <string_view>

namespace quorvel {

// The controls' ids, stable so that tests and tools find each control with GetDlgItem. They
// stay clear of IDOK, IDCANCEL and the other ids the dialog manager sends on its own.
enum class ControlId : int {
    LABN = 1001,
    Label1,
    lstLANA,
    lstCard,
    Label2,
    cmdExit,
    cmdSet,
};

// The id of the layout's control of that name.
ControlId controlIdOf(std::string_view name);

} // namespace quorvel
