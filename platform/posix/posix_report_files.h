#pragma once

#include "inventory/system_interfaces.h"

namespace quorvel {

// The report file on a POSIX disk, through QtCore's file classes; opened by hand first,
// since QFile can neither refuse a link nor open without blocking.
class PosixReportFiles : public ReportFiles {
public:
    void removeLeftover(const std::string& path) override;
    ReportLineTable readLines(const std::string& path, std::uintmax_t maxBytes) override;
    void remove(const std::string& path) override;
};

} // namespace quorvel
