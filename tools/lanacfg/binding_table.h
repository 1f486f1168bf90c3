#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lanacfg {

inline constexpr int kMaxLana = 254;

struct Binding {
    int lana = 0;
    std::string protocol;
    std::string adapter;

    bool operator==(const Binding&) const = default;
};

// The NetBIOS bindings of the machine, kept in ascending LANA order, each number once.
class BindingTable {
public:
    // False, and the table unchanged, when the number is already taken.
    bool add(Binding binding);
    const Binding* find(int lana) const;
    // Gives the binding on `from` the number `to`; a binding already on `to` takes `from`,
    // so numbers stay unique. False when no binding is on `from`.
    bool renumber(int from, int to);

    const std::vector<Binding>& bindings() const { return bindings_; }

private:
    std::vector<Binding> bindings_;
};

// A LANA number written as plain decimal digits (no sign, no spaces), 0 to kMaxLana.
std::optional<int> parseLanaNumber(std::string_view text);

// The table of a machine that has never been changed: used until the state file exists.
BindingTable sampleTable();

// A table of 255 bindings is a few kilobytes; a file this large is not a state file.
inline constexpr std::size_t kMaxStateBytes = std::size_t{1024} * 1024;
inline constexpr std::string_view kTooLargeForState = "larger than a binding table can be";

// The state file text: one binding a line, "LANA<TAB>protocol<TAB>adapter".
// Throws StateError naming sourceName and the line for text that is not such a table.
BindingTable parseStateText(std::string_view text, const std::string& sourceName);

// Lines end in `lineEnd`: "\r\n" makes a file the Windows editors show as lines.
std::string formatStateText(const BindingTable& table, std::string_view lineEnd = "\n");

// The showlanapaths report: a title, a blank line, then per binding in LANA order
// "Lana:  N" and "-->protocol-->adapter".
std::string lanaPathsReport(const BindingTable& table);

} // namespace lanacfg
