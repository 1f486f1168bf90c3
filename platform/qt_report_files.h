#pragma once

#include "inventory/report_files.h"

namespace quorvel {

// The report file on disk, read and deleted with QtCore's file classes.
class QtReportFiles : public ReportFiles {
public:
    std::vector<std::string> readLines(const std::string& path, std::uintmax_t maxBytes) override;
    void remove(const std::string& path) override;
};

} // namespace quorvel
