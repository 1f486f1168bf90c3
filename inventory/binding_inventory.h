#pragma once

#include "inventory/report_line_table.h"

#include <chrono>
#include <cstddef>
#include <optional>

namespace quorvel {

class AdapterList;
class CommandRunner;
class ReportFiles;

// The binding inventory: takes a fresh report from lanacfg and fills the two adapter
// lists with the NetBEUI bindings on LAN adapters, LANA texts beside adapter names.
class BindingInventory {
public:
    // One refresh lists at most this many adapters, the first ones in report order.
    static constexpr int MAX_SCAN_PASSES = 10;

    BindingInventory(AdapterList& lstLANA, AdapterList& lstCard);

    // Clears both lists, removes any report file left from before, runs the report command,
    // reads and deletes the report file, then lists its adapters. Throws OperationError when
    // the report cannot be had; a report file that was written is then left in place for a
    // look at what went wrong. Given a time limit (scripts), the report command is stopped
    // at it, and one that does not end with success is an error: its empty or partial report
    // would pass for the machine's bindings. The window waits, and lets the report show.
    void GetLANAInfo(CommandRunner& runner, ReportFiles& files,
                     std::optional<std::chrono::seconds> timeLimit = std::nullopt);

    // One scan pass: from ScanIndex, find the next LANA line whose binding line runs
    // through NetBEUI on a non-WAN adapter, append it to both lists and stop past it.
    void FindLANA0();

    // Replaces the report with the given lines and rewinds the scan to its first line.
    void loadReport(ReportLineTable lines);
    // Runs the scan passes of one refresh over the loaded report.
    void scanReport();

    const ReportLineTable& reportLines() const { return ReportLines; }
    std::size_t scanIndex() const { return ScanIndex; }

private:
    AdapterList& lstLANA;
    AdapterList& lstCard;
    // Exactly the lines of the latest report, however many there are.
    ReportLineTable ReportLines;
    std::size_t ScanIndex = 0;
};

} // namespace quorvel
