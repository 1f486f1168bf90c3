#include "system_interfaces.h"

#include <cstdio>

namespace quorvel {

namespace {

// Windows reports a crash as an NTSTATUS exit code, which reads best in hexadecimal.
std::string exitStatusText(std::int64_t status)
{
    std::string text = std::to_string(status);
    if (status > 0xFFFF) {
        char hex[24];
        std::snprintf(hex, sizeof hex, " (0x%llX)", static_cast<unsigned long long>(status));
        text += hex;
    }
    return text;
}

} // namespace

std::string CommandOutcome::description() const
{
    switch (end) {
    case End::Exited:
        return "exited with status " + exitStatusText(value);
    case End::Signalled:
        return "was ended by signal " + std::to_string(value);
    case End::TimedOutStopped:
        return "was still running after " + std::to_string(value) + " s and was stopped";
    case End::TimedOutLeftRunning:
        return "was still running after " + std::to_string(value) +
               " s; it was left to finish by itself";
    }
    return "ended in an unknown way";
}

} // namespace quorvel
