#pragma once

#include <string>

namespace lanacfg {

// The binding report of the table in the state file, read under the lock.
std::string showLanaPaths(const std::string& statePath);

// Gives the binding on `lana` the number `newLana` in the state file, swapping with the
// binding that held it. Throws StateError when no binding has `lana`.
void setLanaNumber(const std::string& statePath, int lana, int newLana);

} // namespace lanacfg
