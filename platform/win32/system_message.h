#pragma once

#include <windows.h>

#include <string>

namespace quorvel {

// The system's own words for an error code (GetLastError), in the ANSI code page like every
// other text of the edition, without the full stop and line break that end them.
std::string systemMessage(DWORD error);

} // namespace quorvel
