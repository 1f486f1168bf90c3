#pragma once

namespace quorvel {

// Removes the keyboard and mouse messages (client and non-client) queued for this thread's
// windows, and ends any mouse capture that their button-up would have ended.
void discardQueuedInput();

} // namespace quorvel
