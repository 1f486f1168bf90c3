#pragma once

#include "unattended/byte_output.h"

namespace quorvel {

// Standard output or standard error on POSIX systems, written with write(2). The program
// must ignore SIGPIPE: a reader that has gone is then a failed write, as a full disk is.
class DescriptorOutput : public ByteOutput {
public:
    // Takes a copy of the descriptor at once, so that a descriptor that was closed when the
    // program started fails every write, even once a file the program opens has its number.
    explicit DescriptorOutput(int descriptor);
    ~DescriptorOutput() override;
    DescriptorOutput(const DescriptorOutput&) = delete;
    DescriptorOutput& operator=(const DescriptorOutput&) = delete;

    bool write(std::string_view text) override;

private:
    int descriptor_; // -1: none
};

} // namespace quorvel
