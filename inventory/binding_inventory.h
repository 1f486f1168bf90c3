#pragma once

#include "inventory/report_line_table.h"

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace quorvel {

class CommandRunner;
class ReportFiles;

// One NetBEUI binding on a LAN adapter, as the report gives it: its LANA text and the
// adapter's name, both the report's own bytes, never converted.
struct Binding {
    std::string lana;
    std::string adapterName;

    bool operator==(const Binding&) const = default;
};

// The binding inventory: takes a fresh report from lanacfg and lists the NetBEUI bindings on
// LAN adapters in report order. Keeps the latest report and scan position between passes.
class BindingInventory {
public:
    // One refresh lists at most this many adapters, the first ones in report order.
    static constexpr int MAX_SCAN_PASSES = 10;

    // Forgets the bindings, removes any report file left from before, runs the report
    // command, reads and deletes the report file, then lists its bindings. Throws
    // OperationError when the report cannot be had, with no bindings left and the report file
    // removed. Given a time limit (scripts), the report command is stopped at it, and one that
    // does not end with success is an error: its empty or partial report would pass for the
    // machine's bindings. The window waits, and lists what a failed command wrote, unless it
    // wrote nothing.
    const std::vector<Binding>& GetLANAInfo(
        CommandRunner& runner, ReportFiles& files,
        std::optional<std::chrono::seconds> timeLimit = std::nullopt);

    // One scan pass: from the scan position, find the next LANA line whose binding line runs
    // through NetBEUI on a non-WAN adapter, add its binding and stop past it.
    void nextNetBeuiBinding();

    // Replaces the report with the given lines, forgets the bindings and rewinds the scan.
    void loadReport(ReportLineTable lines);
    // Runs the scan passes of one refresh over the loaded report.
    void scanReport();

    const std::vector<Binding>& bindings() const { return bindings_; }
    const ReportLineTable& reportLines() const { return reportLines_; }
    std::size_t scanIndex() const { return scanIndex_; }

private:
    // Exactly the lines of the latest report, however many there are.
    ReportLineTable reportLines_;
    std::size_t scanIndex_ = 0;
    std::vector<Binding> bindings_;
};

} // namespace quorvel
