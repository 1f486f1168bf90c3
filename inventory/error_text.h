#pragma once

#include <string>

namespace quorvel {

// For use inside a catch block at an event boundary: what went wrong, in words for the user.
// Every error is caught there, so that none ends the program before the user is told.
std::string describeCurrentError();

} // namespace quorvel
