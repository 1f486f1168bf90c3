#pragma once

#include <windows.h>

#include <utility>

namespace quorvel {

// Owns a window and destroys it at the end, unless it has been destroyed or let go before.
class OwnedWindow {
public:
    OwnedWindow() = default;
    explicit OwnedWindow(HWND window) : window_(window) {}
    ~OwnedWindow() { reset(); }
    OwnedWindow(const OwnedWindow&) = delete;
    OwnedWindow& operator=(const OwnedWindow&) = delete;

    HWND get() const { return window_; }
    void reset()
    {
        if (window_ != nullptr)
            ::DestroyWindow(std::exchange(window_, nullptr));
    }
    // For a window the system is destroying already.
    void release() { window_ = nullptr; }

private:
    HWND window_ = nullptr;
};

} // namespace quorvel
