#pragma once

#include "file_descriptor_posix.h"

#include <string>
#include <string_view>
#include <sys/types.h>

namespace lanacfg {

// Opens one of the tool's own files beside the state file (its lock or temporary file).
// A link put there is not followed and a FIFO or device cannot hold the run: the result is
// closed (-1, errno set) when the open fails, and StateError "ACTION PATH: ..." is thrown
// when what opened is not a regular file.
FileDescriptor openPlainFile(const std::string& path, int flags, mode_t mode,
                             std::string_view action);

// Removes a regular file a killed run may have left at `path`; anything else there is
// refused with StateError "ACTION PATH: ...", since it is not ours to delete.
void removeLeftoverPlainFile(const std::string& path, std::string_view action);

} // namespace lanacfg
