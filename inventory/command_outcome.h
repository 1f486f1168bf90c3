#pragma once

#include <cstdint>
#include <string>

namespace quorvel {

// How a command that was started came to an end.
struct CommandOutcome {
    enum class End {
        Exited,              // value: its exit status
        Signalled,           // value: the signal that ended it
        TimedOutStopped,     // value: the seconds it was given; it was ended
        TimedOutLeftRunning, // value: the seconds it was given; it goes on by itself
    };

    End end = End::Exited;
    std::int64_t value = 0;

    bool succeeded() const { return end == End::Exited && value == 0; }
    // How it ended, to follow the command's name: "exited with status 1", ...
    std::string description() const;
};

} // namespace quorvel
