#include "binding_table.h"

#include "tool_error.h"

#include <algorithm>

namespace lanacfg {

namespace {

bool lanaBefore(const Binding& binding, int lana)
{
    return binding.lana < lana;
}

// The report joins protocol and adapter with this; a name holding it would blur the line.
constexpr std::string_view kPathArrow = "-->";

constexpr std::string_view kTitle = "NetBIOS bindings and their LANA numbers";
// Readers take the LANA text from 7 characters past the "L" to the end of the line.
constexpr std::string_view kLanaPrefix = "Lana:  ";

// Built by appending: GCC 12 at -O3 takes `"\"" + text` for an overlapping copy and warns.
std::string quoted(std::string_view text)
{
    std::string result;
    result.reserve(text.size() + 2);
    result += '"';
    result += text;
    result += '"';
    return result;
}

constexpr std::string_view kHeaderLines[] = {
    "# lanacfg binding table: one binding a line, LANA<TAB>protocol<TAB>adapter.",
    "# LANA numbers run from 0 to 254, each used once; # lines and blank lines are ignored.",
};

std::string_view trimmed(std::string_view text, std::string_view blanks)
{
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::vector<std::string_view> tabFields(std::string_view line)
{
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (start != std::string_view::npos) {
        const auto tab = line.find('\t', start);
        fields.push_back(trimmed(line.substr(start, tab - start), " "));
        // Several tabs in a row are one separator, so columns can be lined up.
        start = tab == std::string_view::npos ? tab : line.find_first_not_of('\t', tab);
    }
    return fields;
}

// Empty when the name is acceptable, else why not.
std::string nameProblem(std::string_view name)
{
    if (name.empty())
        return "is empty";
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f)
            return "holds a control character";
    }
    if (name.find(kPathArrow) != std::string_view::npos)
        return "holds \"-->\"";
    return {};
}

} // namespace

bool BindingTable::add(Binding binding)
{
    const auto at = std::lower_bound(bindings_.begin(), bindings_.end(), binding.lana, lanaBefore);
    if (at != bindings_.end() && at->lana == binding.lana)
        return false;
    bindings_.insert(at, std::move(binding));
    return true;
}

const Binding* BindingTable::find(int lana) const
{
    const auto at = std::lower_bound(bindings_.begin(), bindings_.end(), lana, lanaBefore);
    return at != bindings_.end() && at->lana == lana ? &*at : nullptr;
}

bool BindingTable::renumber(int from, int to)
{
    const auto moving = std::find_if(bindings_.begin(), bindings_.end(),
                                     [from](const Binding& b) { return b.lana == from; });
    if (moving == bindings_.end())
        return false;
    const auto holder = std::find_if(bindings_.begin(), bindings_.end(),
                                     [to](const Binding& b) { return b.lana == to; });
    if (holder != bindings_.end())
        holder->lana = from;
    moving->lana = to;
    std::sort(bindings_.begin(), bindings_.end(),
              [](const Binding& a, const Binding& b) { return a.lana < b.lana; });
    return true;
}

std::optional<int> parseLanaNumber(std::string_view text)
{
    if (text.empty())
        return std::nullopt;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        // Stopping at the first value too large keeps a long run of digits from overflowing.
        if (value > kMaxLana)
            return std::nullopt;
    }
    return value;
}

BindingTable sampleTable()
{
    // A dial-up capable workstation with two network cards; the order is the one the
    // bindings were installed in, so the first NetBEUI card is not on LANA 0.
    BindingTable table;
    table.add({0, "NetBT", "Intel(R) PRO/100 Adapter"});
    table.add({1, "NetBEUI Protocol", "WAN Miniport (NetBEUI, Dial Out)"});
    table.add({2, "NetBEUI Protocol", "3Com EtherLink III Adapter"});
    table.add({3, "NWLink NetBIOS", "3Com EtherLink III Adapter"});
    table.add({4, "NetBEUI Protocol", "Intel(R) PRO/100 Adapter"});
    table.add({5, "NWLink NetBIOS", "Intel(R) PRO/100 Adapter"});
    table.add({6, "NetBT", "3Com EtherLink III Adapter"});
    table.add({7, "NetBT", "WAN Miniport (IP)"});
    return table;
}

BindingTable parseStateText(std::string_view text, const std::string& sourceName)
{
    BindingTable table;
    int lineNumber = 0;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++lineNumber;

        const auto fail = [&](const std::string& why) {
            std::string message = sourceName;
            message += ':';
            message += std::to_string(lineNumber);
            message += ": ";
            message += why;
            throw StateError(message);
        };

        // Files edited on Windows end their lines with CR LF.
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        line = trimmed(line, " \t");
        if (line.empty() || line.front() == '#')
            continue;

        const std::vector<std::string_view> fields = tabFields(line);
        if (fields.size() != 3)
            fail("expected LANA<TAB>protocol<TAB>adapter, found " + std::to_string(fields.size()) +
                 (fields.size() == 1 ? " field" : " fields"));
        const std::optional<int> lana = parseLanaNumber(fields[0]);
        if (!lana)
            fail(quoted(fields[0]) + " is not a LANA number from 0 to 254");
        if (const std::string why = nameProblem(fields[1]); !why.empty())
            fail("protocol name " + why);
        if (const std::string why = nameProblem(fields[2]); !why.empty())
            fail("adapter name " + why);
        if (!table.add({*lana, std::string(fields[1]), std::string(fields[2])}))
            fail("LANA " + std::to_string(*lana) + " is given to a second binding");
    }
    return table;
}

std::string formatStateText(const BindingTable& table, std::string_view lineEnd)
{
    std::string text;
    for (const std::string_view line : kHeaderLines) {
        text += line;
        text += lineEnd;
    }
    for (const Binding& binding : table.bindings()) {
        text += std::to_string(binding.lana);
        text += '\t';
        text += binding.protocol;
        text += '\t';
        text += binding.adapter;
        text += lineEnd;
    }
    return text;
}

std::string lanaPathsReport(const BindingTable& table)
{
    std::string report(kTitle);
    report += "\n\n";
    for (const Binding& binding : table.bindings()) {
        report += kLanaPrefix;
        report += std::to_string(binding.lana);
        report += '\n';
        report += kPathArrow;
        report += binding.protocol;
        report += kPathArrow;
        report += binding.adapter;
        report += '\n';
    }
    return report;
}

} // namespace lanacfg
