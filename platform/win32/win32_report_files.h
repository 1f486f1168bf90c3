#pragma once

#include "inventory/system_interfaces.h"

namespace quorvel {

// The report file on a Windows disk, read as bytes (the system's ANSI code page, as a
// default text stream reads it) with the same limits and refusals as every edition.
class Win32ReportFiles : public ReportFiles {
public:
    void removeLeftover(const std::string& path) override;
    ReportLineTable readLines(const std::string& path, std::uintmax_t maxBytes) override;
    void remove(const std::string& path) override;
};

} // namespace quorvel
