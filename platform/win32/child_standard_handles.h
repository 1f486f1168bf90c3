#pragma once

#include "owned_handle.h"

namespace quorvel {

// Inheritable standard handles for a command: input from and output to NUL, as nothing is
// said to it and its report goes through a file; errors to this process's own standard error
// when it has one, so that the tool's complaints reach a user at a console, else to NUL.
class ChildStandardHandles {
public:
    ChildStandardHandles();

    HANDLE input() const { return nul_.get(); }
    HANDLE output() const { return nul_.get(); }
    HANDLE error() const { return error_.isOpen() ? error_.get() : nul_.get(); }

private:
    OwnedHandle nul_;
    OwnedHandle error_;
};

} // namespace quorvel
