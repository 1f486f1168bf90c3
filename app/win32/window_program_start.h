#pragma once

#include <ostream>

namespace quorvel {

// Starts quorvel.exe from this program's own folder, without waiting for it; says why on
// `errors` when it cannot. Returns the exit status.
int startWindowProgram(std::ostream& errors);

} // namespace quorvel
