#pragma once

#include "binding_table.h"

#include <string>

namespace lanacfg {

// $LANACFG_STATE, else $XDG_STATE_HOME/lanacfg/bindings.txt, else
// $HOME/.local/state/lanacfg/bindings.txt. Throws StateError when none can be made.
std::string stateFilePath();

// The table in the state file, or the built-in sample while there is no file.
// Throws StateError naming the file (and line) when it cannot be read as a table.
BindingTable loadState(const std::string& path);

// Replaces the state file whole: the table goes to "FILE.tmp", is synced to disk and
// renamed over FILE, so the file holds the old or the new table at every moment.
void saveState(const std::string& path, const BindingTable& table);

} // namespace lanacfg
