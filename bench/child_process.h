#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace quorvel::bench {

struct ChildRun {
    int exitStatus = -1; // -1 when a signal ended the child
    std::chrono::steady_clock::time_point started;
    std::chrono::steady_clock::time_point ended;
    long peakRssKiB = 0;
};

// Starts `program` with this process's environment plus `extraEnv` ("NAME=value", which win
// over inherited ones) and waits for its end, taking its peak resident memory from wait4.
ChildRun runChild(const std::string& program, const std::vector<std::string>& extraEnv);

} // namespace quorvel::bench
