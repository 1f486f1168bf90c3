#pragma once

#include <string>
#include <utility>
#include <vector>

// What the utility's own scan lists from a lanacfg report: (LANA text, adapter) rows.
std::vector<std::pair<std::string, std::string>> scannedRows(const std::string& report);

// Every binding of a report as "N -->protocol-->adapter", in report order.
std::vector<std::string> reportEntries(const std::string& report);

// A state file text with one binding per "N<TAB>protocol<TAB>adapter" row given as
// {N, protocol, adapter}.
std::string stateText(const std::vector<std::vector<std::string>>& rows);
