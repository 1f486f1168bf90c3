#include "report.h"

#include <string_view>

namespace lanacfg {

namespace {

constexpr std::string_view kTitle = "NetBIOS bindings and their LANA numbers";
// Readers take the LANA text from 7 characters past the "L" to the end of the line.
constexpr std::string_view kLanaPrefix = "Lana:  ";
constexpr std::string_view kPathArrow = "-->";

} // namespace

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
