// Force-included into GoogleTest and its test programs in the Windows build. GoogleTest's own
// thread handshake needs std::mutex and std::condition_variable, which the win32 thread model
// of GCC does not have; the posix model would link functions that Windows 2000 lacks. No test
// here starts a thread, so a plain flag serves.
#pragma once

#include <atomic>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing::internal {

class Notification {
public:
    void Notify() { notified_.store(true); }
    void WaitForNotification() const
    {
        while (!notified_.load()) {
        }
    }

private:
    std::atomic<bool> notified_{false};
};

} // namespace testing::internal
