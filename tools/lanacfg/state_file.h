#pragma once

#include "binding_table.h"

#include <string>
#include <string_view>

namespace lanacfg {

// Paths are UTF-8 text on every system.

// $LANACFG_STATE, else the user's default of this system (see stateFileLocationHelp).
// Throws StateError when none can be made.
std::string stateFilePath();

// The lines of --help that tell where the state file is.
std::string_view stateFileLocationHelp();

// The file a path to the state file leads to, through any symbolic links: where a change
// must go (renaming over a link would put a plain file in its place) and what runs must lock,
// however each of them names it.
std::string followStateLinks(const std::string& path);

// The table in the state file, or the built-in sample while there is no file.
// Throws StateError naming the file (and line) when it cannot be read as a table.
BindingTable loadState(const std::string& path);

// Replaces the state file whole: the table goes to "FILE.tmp" (a leftover one is removed
// first), is flushed to disk and moved over FILE, so the file holds the old or the new table
// at every moment. Where FILE is a symbolic link, the file it leads to is replaced.
void saveState(const std::string& path, const BindingTable& table);

} // namespace lanacfg
