#pragma once

#include "binding_table.h"

namespace lanacfg {

// The table of a machine that has never been changed: used until the state file exists.
BindingTable sampleTable();

} // namespace lanacfg
