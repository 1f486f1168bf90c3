#pragma once

#include <windows.h>

#include <utility>

namespace quorvel {

// Owns one object of the system (a kernel handle, a window) and releases it at the end,
// unless it has been released or let go before. Traits say what "none" is and how to release.
template <typename Handle, typename Traits>
class Owned {
public:
    Owned() = default;
    explicit Owned(Handle handle) : handle_(handle) {}
    ~Owned() { reset(); }
    Owned(Owned&& other) noexcept : handle_(other.release()) {}
    Owned& operator=(Owned&& other) noexcept
    {
        if (this != &other) {
            reset();
            handle_ = other.release();
        }
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    Handle get() const { return handle_; }
    bool isOpen() const { return Traits::isSome(handle_); }
    void reset()
    {
        // Let go first: releasing a window sends messages that may ask for it.
        const Handle owned = release();
        if (Traits::isSome(owned))
            Traits::free(owned);
    }
    // Stops owning it, for an object the system is releasing already or that has a new owner.
    Handle release() { return std::exchange(handle_, Handle{}); }

private:
    Handle handle_{};
};

struct KernelHandleTraits {
    // The functions that hand handles out fail with null or INVALID_HANDLE_VALUE, by function.
    static bool isSome(HANDLE handle)
    {
        return handle != nullptr && handle != INVALID_HANDLE_VALUE;
    }
    static void free(HANDLE handle) { ::CloseHandle(handle); }
};

struct WindowTraits {
    static bool isSome(HWND window) { return window != nullptr; }
    static void free(HWND window) { ::DestroyWindow(window); }
};

using OwnedHandle = Owned<HANDLE, KernelHandleTraits>;
using OwnedWindow = Owned<HWND, WindowTraits>;

} // namespace quorvel
