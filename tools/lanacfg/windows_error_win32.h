#pragma once

#include <string>
#include <string_view>

namespace lanacfg {

// A StateError "ACTION PATH: what the system said" for GetLastError() of the call that
// just failed; it is read before anything else can change it.
[[noreturn]] void throwWindowsFailure(std::string_view action, const std::string& path);

} // namespace lanacfg
