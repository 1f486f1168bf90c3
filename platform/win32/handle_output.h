#pragma once

#include "unattended/byte_output.h"

#include <windows.h>

namespace quorvel {

// Standard output or standard error on Windows: a console, a file or a pipe. Lines end in
// CR LF, as the C runtime's text mode ends them. A console gets the text as UTF-16 converted
// from the ANSI code page, so that it shows as the lists show it; a file or pipe gets the bytes.
class HandleOutput : public ByteOutput {
public:
    // A null handle fails every write, as a closed pipe does.
    explicit HandleOutput(HANDLE handle);

    bool write(std::string_view text) override;

private:
    HANDLE handle_;
    bool console_;
};

} // namespace quorvel
