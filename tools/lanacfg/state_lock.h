#pragma once

#include <string>

namespace lanacfg {

// Serializes runs on one state file through flock on "FILE.lock" beside it. The system
// drops the lock when its holder dies, so a killed run never leaves the table locked.
class StateLock {
public:
    enum class Mode { Read, Change };

    // Change creates the state file's folder if need be and waits for sole access; Read
    // waits only for changes in progress. Throws StateError when the lock cannot be had.
    StateLock(const std::string& statePath, Mode mode);
    ~StateLock();
    StateLock(const StateLock&) = delete;
    StateLock& operator=(const StateLock&) = delete;

private:
    int fd_ = -1;
};

} // namespace lanacfg
