#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quorvel {

// Reading and deleting the report file that the report command leaves behind.
// Both throw OperationError naming the file and the system's reason on failure.
class ReportFiles {
public:
    virtual ~ReportFiles() = default;

    // The file's lines without their line breaks (a CR before the LF is dropped too).
    // A file larger than maxBytes is refused before any of it is read.
    virtual std::vector<std::string> readLines(const std::string& path,
                                               std::uintmax_t maxBytes) = 0;
    virtual void remove(const std::string& path) = 0;
};

} // namespace quorvel
