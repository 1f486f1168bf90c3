#pragma once

#include <stdexcept>
#include <string>

namespace quorvel {

// An operation could not be carried out. The message says what failed (the file or
// command) and why, in words a user can act on; it is shown once, at the event boundary.
class OperationError : public std::runtime_error {
public:
    explicit OperationError(const std::string& message) : std::runtime_error(message) {}
};

} // namespace quorvel
