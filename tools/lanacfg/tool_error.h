#pragma once

#include <stdexcept>
#include <string>

namespace lanacfg {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitStateFailure = 1;
inline constexpr int kExitUsageFailure = 2;

// A run that cannot do what was asked. The message is printed as the one line on stderr.
class ToolError : public std::runtime_error {
public:
    ToolError(int exitStatus, const std::string& message)
        : std::runtime_error(message), exitStatus_(exitStatus)
    {
    }
    int exitStatus() const { return exitStatus_; }

private:
    int exitStatus_;
};

// The command line asks for something this tool does not do.
class UsageError : public ToolError {
public:
    explicit UsageError(const std::string& message) : ToolError(kExitUsageFailure, message) {}
};

// The binding table cannot be read, changed or written as asked.
class StateError : public ToolError {
public:
    explicit StateError(const std::string& message) : ToolError(kExitStateFailure, message) {}
};

} // namespace lanacfg
