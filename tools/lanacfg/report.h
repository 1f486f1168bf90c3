#pragma once

#include "binding_table.h"

#include <string>

namespace lanacfg {

// The showlanapaths report: a title, a blank line, then per binding in LANA order
// "Lana:  N" and "-->protocol-->adapter".
std::string lanaPathsReport(const BindingTable& table);

} // namespace lanacfg
