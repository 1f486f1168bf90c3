#pragma once

#include <functional>

namespace quorvel {

// The window's busy state for FormServices::showToolRunning: the wait cursor while a tool
// runs; at the end the cursor from before, and the input that queued up meanwhile dropped.
std::function<void(bool running)> busyCursor();

} // namespace quorvel
