#include "report_lines.h"

#include "inventory/binding_inventory.h"
#include "inventory/report_reading.h"

#include <sstream>

namespace {

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        result.push_back(line);
    return result;
}

} // namespace

std::vector<std::pair<std::string, std::string>> scannedRows(const std::string& report)
{
    std::vector<std::pair<std::string, std::string>> rows;
    for (const quorvel::Binding& binding :
         quorvel::scanBindings(quorvel::ReportLineTable::split(report, "report")))
        rows.emplace_back(binding.lana, binding.adapterName);
    return rows;
}

std::vector<std::string> reportEntries(const std::string& report)
{
    const std::vector<std::string> all = lines(report);
    std::vector<std::string> entries;
    // After the title and a blank line, each binding is a "Lana:  N" line and its path.
    for (std::size_t i = 2; i + 1 < all.size(); i += 2) {
        const std::string& lana = all[i];
        const std::string number = lana.starts_with("Lana:  ") ? lana.substr(7) : "?" + lana;
        entries.push_back(number + " " + all[i + 1]);
    }
    return entries;
}

std::string stateText(const std::vector<std::vector<std::string>>& rows)
{
    std::string text;
    for (const auto& row : rows)
        text += row.at(0) + "\t" + row.at(1) + "\t" + row.at(2) + "\n";
    return text;
}
