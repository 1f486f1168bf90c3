#pragma once

#include <windows.h>

#include <utility>

namespace quorvel {

// Owns a kernel handle and closes it at the end; null and INVALID_HANDLE_VALUE both stand
// for none, as the functions that hand handles out fail with one or the other.
class OwnedHandle {
public:
    OwnedHandle() = default;
    explicit OwnedHandle(HANDLE handle) : handle_(handle) {}
    ~OwnedHandle() { close(); }
    OwnedHandle(OwnedHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    OwnedHandle& operator=(OwnedHandle&& other) noexcept
    {
        if (this != &other) {
            close();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;

    HANDLE get() const { return handle_; }
    bool isOpen() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }

private:
    void close()
    {
        if (isOpen())
            ::CloseHandle(handle_);
    }

    HANDLE handle_ = nullptr;
};

} // namespace quorvel
