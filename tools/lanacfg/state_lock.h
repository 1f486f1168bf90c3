#pragma once

#include <memory>
#include <string>

namespace lanacfg {

// Serializes runs on one state file through a lock on "FILE.lock" beside it, a plain file of
// its own: the system drops the lock when its holder dies, so a killed run never leaves the
// table locked.
class StateLock {
public:
    enum class Mode { Read, Change };

    // Change creates the state file's folder if need be and waits for sole access; Read
    // waits only for changes in progress. Throws StateError when the lock cannot be had,
    // or when something other than a regular file is at FILE.lock.
    StateLock(const std::string& statePath, Mode mode);
    ~StateLock();
    StateLock(const StateLock&) = delete;
    StateLock& operator=(const StateLock&) = delete;

private:
    // The locked lock file, as this system holds it; none for a reader that may go unlocked.
    struct Held;
    std::unique_ptr<Held> held_;
};

} // namespace lanacfg
