#pragma once

#include "file_handle_win32.h"

#include <string>
#include <string_view>

namespace lanacfg {

// Opens one of the tool's own files beside the state file (its lock or temporary file) with
// CreateFileW's `access` and `disposition`. A link (reparse point) put there is not followed
// and a device name is not used: the result is closed (GetLastError set) when the open
// fails, and StateError "ACTION PATH: ..." is thrown when what opened is not a plain file.
FileHandle openPlainFile(const std::string& path, DWORD access, DWORD disposition,
                         std::string_view action);

// Removes a plain file a killed run may have left at `path`; anything else there is
// refused with StateError "ACTION PATH: ...", since it is not ours to delete.
void removeLeftoverPlainFile(const std::string& path, std::string_view action);

} // namespace lanacfg
