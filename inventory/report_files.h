#pragma once

#include "inventory/report_line_table.h"

#include <cstdint>
#include <string>

namespace quorvel {

// The report file that the report command writes. Every operation throws OperationError
// naming the file and the system's reason when it fails.
class ReportFiles {
public:
    virtual ~ReportFiles() = default;

    // Removes whatever non-folder entry is at path (a report left from before, a link), so
    // that only the coming report command can put a file there; nothing when there is none.
    virtual void removeLeftover(const std::string& path) = 0;
    // The file's lines. Refuses, without blocking on it, anything but a regular file, and a
    // file of more than maxBytes or with more lines than a report can have.
    virtual ReportLineTable readLines(const std::string& path, std::uintmax_t maxBytes) = 0;
    virtual void remove(const std::string& path) = 0;
};

} // namespace quorvel
