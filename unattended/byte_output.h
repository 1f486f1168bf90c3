#pragma once

#include <string_view>

namespace quorvel {

// Where the options for scripts write their list, help and messages: standard output or
// standard error as the system has them. Text goes in as bytes with '\n' line ends, whole
// lines at a time, so that a system that converts them (a Windows console) never sees a
// character cut in two.
class ByteOutput {
public:
    virtual ~ByteOutput() = default;
    // False when not all of it could be written: a full disk, a closed pipe, no output at all.
    virtual bool write(std::string_view text) = 0;
};

} // namespace quorvel
