#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace quorvel {

// An operation could not be carried out. The message says what failed (the file or
// command) and why, in words a user can act on; it is shown once, at the event boundary.
class OperationError : public std::runtime_error {
public:
    explicit OperationError(const std::string& message) : std::runtime_error(message) {}
};

// For use inside a catch block at an event boundary: what went wrong, in words for the user.
// Every error is caught there, so that none ends the program before the user is told.
std::string describeCurrentError();

// Text for a message: control characters, which a report could use to forge or hide what a
// console or a box shows (ESC, CR, BEL, ...), as \xNN escapes; every other byte as it is.
std::string printableText(std::string_view text);

} // namespace quorvel
