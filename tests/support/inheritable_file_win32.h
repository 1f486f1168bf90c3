#pragma once

#include <windows.h>

#include <filesystem>

namespace quorvel::testing {

// A file opened for a child's standard handle: inheritable, shared for reading and writing.
// Throws when it cannot be opened, naming the file.
HANDLE inheritableFile(const std::filesystem::path& path, DWORD access, DWORD disposition);

} // namespace quorvel::testing
