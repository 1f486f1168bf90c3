#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace quorvel {

class CommandRunner;
class ReportFiles;
class ReportLineTable;

// One NetBEUI binding on a LAN adapter, as the report gives it: its LANA text and the
// adapter's name, both the report's own bytes, never converted.
struct Binding {
    std::string lana;
    std::string adapterName;

    bool operator==(const Binding&) const = default;
};

// The most bindings one report lists: the first ones in report order.
inline constexpr std::size_t kMostBindingsListed = 10;

// The bindings a report lists, in report order: each LANA line whose next line, its binding
// line, runs through NetBEUI on an adapter with no "WAN" in that line. The search goes on
// at the binding line, which may be a LANA line of its own; the last line is never a LANA line.
std::vector<Binding> scanBindings(const ReportLineTable& lines);

// In the folder's turn (see ReportFiles::takeFolderTurn), removes any report file left from
// before, runs the report command, reads and deletes the report file, and returns its
// bindings. Throws OperationError when the report cannot be had, with the report file removed.
// Given a time limit (scripts), the report command is stopped at it, and one that does not end
// with success is an error: its empty or partial report would pass for the machine's bindings.
// The window waits, and lists what a failed command wrote, unless it wrote nothing.
std::vector<Binding>
bindingsFromReportCommand(CommandRunner& runner, ReportFiles& files,
                          std::optional<std::chrono::seconds> timeLimit = std::nullopt);

} // namespace quorvel
