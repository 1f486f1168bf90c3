#pragma once

namespace quorvel {

// Exit statuses of the options for scripts, as the README lists them.
inline constexpr int kStatusDone = 0;
inline constexpr int kStatusNotTaken = 1;
inline constexpr int kStatusUsage = 2;
inline constexpr int kStatusNoReport = 3;

} // namespace quorvel
